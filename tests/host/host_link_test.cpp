// Requests and cell access as the host sees them.
#include <gtest/gtest.h>

#include <tuple>

#include "host/host_link.h"
#include "plugin_test.h"

namespace vemora::testing {
namespace {

class HostLinkTest : public PluginTest {
protected:
    void SetUp() override { connect(); }
};

TEST_F(HostLinkTest, RequestRecordCarriesExactlyTheGivenWords) {
    sendRequest(wire::REQ_CONTACT_COUNT, 0, wire::TYPE_QUERY, 0, 0);
    ASSERT_EQ(host.calls().size(), 1u);
    const std::vector<uint8_t> expected = {
        30,   0,                  // size
        201,  0,    0,    0,      // id
        0,    0,    0,    0,      // reserved1
        0,    0,    0,    0,      // net
        0xFF, 0xFF, 0xFF, 0xFF,   // type -1
        0,    0,    0,    0,      // reserved2
        0,    0,    0,    0,      // p1
        0,    0,    0,    0};     // p2
    EXPECT_EQ(host.calls()[0].record, expected);
}

TEST_F(HostLinkTest, CoreRequestIsARequestToNetZeroOfTypeZero) {
    const char text[] = "t";
    sendCoreRequest(wire::REQ_INFO_BOX, toWord(text), 0);
    sendRequest(wire::REQ_INFO_BOX, 0, 0, toWord(text), 0);
    ASSERT_EQ(host.calls().size(), 2u);
    EXPECT_EQ(host.calls()[0].record, host.calls()[1].record);
    EXPECT_EQ(host.calls()[0].recordWord(22), toWord(text));
}

TEST_F(HostLinkTest, HostAnswerIsPassedBackUnchanged) {
    host.answer = [](const HostCall&) { return std::optional<uint32_t>(0xDEADBEEFu); };
    EXPECT_EQ(sendCoreRequest(wire::REQ_MESSAGE_NEW, 0, 0), 0xDEADBEEFu);
}

TEST(MessageRecordDefaults, DefaultRecordHasAllOnesIdNetAndP1) {
    const MessageRecord record;
    const std::vector<uint8_t> expected = {30,   0,    0xFF, 0xFF, 0xFF, 0xFF, 0,    0, 0, 0, 0xFF,
                                           0xFF, 0xFF, 0xFF, 0,    0,    0,    0,    0, 0, 0, 0,
                                           0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0,    0};
    std::vector<uint8_t> bytes(sizeof record);
    std::memcpy(bytes.data(), &record, sizeof record);
    EXPECT_EQ(bytes, expected);
}

TEST(MessageRecordDefaults, BareHeadersAre22BytesWithZeroReservedWords) {
    // Compared as copies: a packed field may sit at an odd address.
    const MessageHeader withId(1102);
    EXPECT_EQ(uint16_t{withId.size}, 22);
    EXPECT_EQ(uint32_t{withId.net}, 0u);
    EXPECT_EQ(uint32_t{withId.type}, 0u);
    const MessageHeader full(774201, 774, 0xFFFFFFFFu);
    EXPECT_EQ(uint16_t{full.size}, 22);
    EXPECT_EQ(uint32_t{full.net}, 774u);
    EXPECT_EQ(uint32_t{full.reserved1}, 0u);
    EXPECT_EQ(uint32_t{full.reserved2}, 0u);
}

TEST_F(HostLinkTest, IntReadsAskTheRightCellWithAZeroedRecord) {
    host.setInt(wire::CONTACT_TABLE, 7, wire::CNT_BIRTH_DATE, 0x07D00309);
    host.setInt(wire::CONFIG_TABLE, 0, 139014, 1);
    EXPECT_EQ(getContactInt(7, wire::CNT_BIRTH_DATE), 0x07D00309);
    EXPECT_EQ(getConfigInt(139014), 1);
    ASSERT_EQ(host.calls().size(), 2u);
    const HostCall& contact = host.calls()[0];
    EXPECT_EQ(contact.table, wire::CONTACT_TABLE);
    EXPECT_EQ(contact.row, 7);
    EXPECT_EQ(contact.column, wire::CNT_BIRTH_DATE);
    EXPECT_EQ(contact.given.type, wire::VALUE_INT);
    EXPECT_EQ(contact.given.value, 0u);
    EXPECT_EQ(contact.given.extra, 0u);
    EXPECT_EQ(host.calls()[1].table, wire::CONFIG_TABLE);
    EXPECT_EQ(host.calls()[1].row, 0);
}

TEST_F(HostLinkTest, UnansweredIntReadIsZero) { EXPECT_EQ(getContactInt(3, wire::CNT_GENDER_CODE), 0); }

TEST_F(HostLinkTest, TextReadsPassNoBufferAndTheGivenSize) {
    host.setText(wire::CONTACT_TABLE, 2, wire::CNT_NICK, "Kuba");
    host.setText(wire::CONFIG_TABLE, 0, 139019, "Sto lat");
    EXPECT_STREQ(getContactString(2, wire::CNT_NICK, 0), "Kuba");
    EXPECT_STREQ(getConfigString(139019, 0xFFFFFFFFu), "Sto lat");
    const HostCall& nick = host.calls()[0];
    EXPECT_EQ(nick.given.type, wire::VALUE_TEXT);
    EXPECT_EQ(nick.given.value, 0u);
    EXPECT_EQ(nick.given.extra, 0u);
    EXPECT_EQ(host.calls()[1].given.extra, 0xFFFFFFFFu);
}

TEST_F(HostLinkTest, NullTextAnswerReadsAsEmptyText) {
    host.setNullText(wire::CONTACT_TABLE, 4, wire::CNT_DISPLAY_NAME);
    host.setNullText(wire::CONFIG_TABLE, 0, 139019);
    const char* contact = getContactString(4, wire::CNT_DISPLAY_NAME, 0);
    const char* config = getConfigString(139019, 0xFFFFFFFFu);
    ASSERT_NE(contact, nullptr);
    ASSERT_NE(config, nullptr);
    EXPECT_STREQ(contact, "");
    EXPECT_STREQ(config, "");
}

TEST_F(HostLinkTest, AnIntWriteIsOneSetValueCallWhoseAnswerIsReturned) {
    host.setValueAnswer = -7;
    EXPECT_EQ(setContactInt(5, wire::CNT_AGE, 30), -7);
    ASSERT_EQ(host.calls().size(), 1u);
    const HostCall& write = host.calls()[0];
    EXPECT_EQ(write.kind, HostCall::Kind::SetValue);
    EXPECT_EQ(std::tuple(write.table, write.row, write.column), std::tuple(uint32_t{wire::CONTACT_TABLE}, 5, wire::CNT_AGE));
    EXPECT_EQ(std::tuple(write.given.type, write.given.value, write.given.extra), std::tuple(wire::VALUE_INT, 30u, 0u));
}

}  // namespace
}  // namespace vemora::testing
