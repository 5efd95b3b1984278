// What the plugin answers to each incoming message, and when it talks back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "entry/dispatch.h"
#include "entry_call.h"
#include "plugin_test.h"

namespace vemora::testing {
namespace {

// A press on the birthdays button, which rebuilds today's list whenever it is
// handled: a record that is ignored shows as no host call at all.
const wire::ActionNotifyRecord BIRTHDAYS_PRESSED{
    sizeof(wire::ActionNotifyRecord), {wire::ACT_BIRTHDAYS_BUTTON, 0, wire::NO_CONTACT}, wire::ACTION_PRESSED};

using DispatchTest = PluginTest;

TEST_F(DispatchTest, IdentityQueriesAreAnsweredBeforeInitAndWithoutParameters) {
    for (uint16_t size : {uint16_t{22}, uint16_t{30}}) {
        EXPECT_EQ(deliver(wire::MSG_INFO_NET, 0, size), 139u);
        EXPECT_EQ(deliver(wire::MSG_INFO_TYPE, 0, size), 145u);
        EXPECT_EQ(textAt(deliver(wire::MSG_INFO_VERSION, 0, size)), "0.1.0.2");
        EXPECT_EQ(textAt(deliver(wire::MSG_INFO_SIGNATURE, 0, size)), "Vem");
        EXPECT_EQ(textAt(deliver(wire::MSG_INFO_NAME, 0, size)), "Vemora");
        EXPECT_EQ(deliver(wire::MSG_QUERY_20020, 0, size), 2u);
    }
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(DispatchTest, IdentityTextsKeepTheirAddressAndText) {
    const uint32_t name = deliver(wire::MSG_INFO_NAME);
    const uint32_t version = deliver(wire::MSG_INFO_VERSION);
    EXPECT_EQ(deliver(wire::MSG_INFO_NAME), name);
    connect();
    deliver(wire::MSG_DEINIT);
    EXPECT_EQ(deliver(wire::MSG_INFO_VERSION), version);
}

TEST_F(DispatchTest, LifecycleMessagesAnswerOne) {
    connect();
    EXPECT_EQ(deliver(wire::MSG_DEINIT), 1u);
    EXPECT_EQ(deliver(wire::MSG_DEINIT, 0, 22), 1u);
}

TEST_F(DispatchTest, UnhandledIdsReportErrorOneOnceConnected) {
    connect();
    for (uint32_t id : {30014u, 30015u, 0u, 12345u, 0xFFFFFFFFu}) {
        host.clearCalls();
        EXPECT_EQ(deliver(id), 0u) << id;
        ASSERT_EQ(host.calls().size(), 1u) << id;
        EXPECT_EQ(host.calls()[0].kind, HostCall::Kind::SetError);
        EXPECT_EQ(host.calls()[0].errorCode, 1);
    }
}

TEST_F(DispatchTest, UnhandledIdBeforeInitMakesNoHostCall) {
    EXPECT_EQ(deliver(30014), 0u);
    EXPECT_EQ(deliver(30015, 0, 22), 0u);
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(DispatchTest, Query30017IsAnsweredZeroWithoutError) {
    connect();
    EXPECT_EQ(deliver(wire::MSG_INFO_30017), 0u);
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(DispatchTest, HandlersNeedingTheHostGiveTheUsualAnswerBeforeInit) {
    EXPECT_EQ(deliver(wire::MSG_SETCOLUMNS), 1u);
    EXPECT_EQ(deliver(wire::MSG_UI_PREPARE), 1u);
    EXPECT_EQ(deliver(wire::MSG_START), 1u);
    EXPECT_EQ(deliverPointer(wire::MSG_UI_ACTION, &BIRTHDAYS_PRESSED), 0u);
    EXPECT_TRUE(host.calls().empty());
    // The same press once connected is handled.
    connect();
    EXPECT_EQ(deliverPointer(wire::MSG_UI_ACTION, &BIRTHDAYS_PRESSED), 0u);
    EXPECT_FALSE(host.messages(wire::REQ_CONTACT_COUNT).empty());
}

TEST_F(DispatchTest, ShortInitIsIgnored) {
    EXPECT_EQ(deliverPointer(wire::MSG_INIT, host.control(), 29), 0u);
    // Still not connected: an unhandled id makes no host call.
    EXPECT_EQ(deliver(30014), 0u);
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(DispatchTest, InitWithALongerRecordIsAccepted) {
    uint8_t bytes[40] = {};
    const wire::MessageRecord record = incoming(wire::MSG_INIT, wire::wordOf(host.control()), sizeof bytes);
    std::memcpy(bytes, &record, sizeof record);
    EXPECT_EQ(dispatchMessage(bytes), 1u);
    deliver(30014);
    EXPECT_EQ(host.calls().size(), 1u);
}

TEST_F(DispatchTest, SecondInitReplacesTheControl) {
    connect();
    FakeHost other;
    deliverPointer(wire::MSG_INIT, other.control());
    deliver(30014);
    EXPECT_TRUE(host.calls().empty());
    EXPECT_EQ(other.calls().size(), 1u);
}

TEST_F(DispatchTest, ActionWithoutAUsableRecordIsIgnored) {
    connect();
    EXPECT_EQ(deliver(wire::MSG_UI_ACTION, 0), 0u);
    EXPECT_EQ(deliverPointer(wire::MSG_UI_ACTION, &BIRTHDAYS_PRESSED, 22), 0u);
    EXPECT_TRUE(host.calls().empty());
    // The same press in a whole record is handled.
    EXPECT_EQ(deliverPointer(wire::MSG_UI_ACTION, &BIRTHDAYS_PRESSED), 0u);
    EXPECT_FALSE(host.messages(wire::REQ_CONTACT_COUNT).empty());
}

TEST_F(DispatchTest, NullRecordIsAnsweredZero) {
    connect();
    EXPECT_EQ(dispatchMessage(nullptr), 0u);
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(DispatchTest, RecordAtAnOddAddressIsReadCorrectly) {
    alignas(4) uint8_t buffer[64] = {};
    const wire::MessageRecord record = incoming(wire::MSG_INFO_TYPE);
    std::memcpy(buffer + 1, &record, sizeof record);
    EXPECT_EQ(dispatchMessage(buffer + 1), 145u);
}

TEST_F(DispatchTest, StartRebuildsTodaysListFromTheHost) {
    connect();
    EXPECT_EQ(deliver(wire::MSG_START), 1u);
    EXPECT_FALSE(host.messages(wire::REQ_CONTACT_COUNT).empty());
}

}  // namespace
}  // namespace vemora::testing
