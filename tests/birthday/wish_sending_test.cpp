// Sending today's birthday contacts their wishes, as the host sees it.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "birthday/birthday_list.h"
#include "birthday/calendar_date.h"
#include "birthday/operations.h"
#include "host_call_summary.h"
#include "plugin_test.h"

namespace vemora::testing {
namespace {

constexpr uint32_t WISH_TEXT_DEFAULT = 139019;  // config
constexpr uint32_t WISH_TEXT_OWN = 139013;      // contact
constexpr uint32_t WISH_MODE = 139015;
constexpr uint32_t AGE = 139033;

class WishSendingTest : public PluginTest {
protected:
    void SetUp() override { connect(); }

    // A contact with a birthday today and its own data; no mode leaves the cell unset.
    void contact(int32_t row, std::optional<int32_t> mode, const std::string& uid = "uid", int32_t net = 1) {
        host.setInt(wire::CONTACT_TABLE, row, wire::CNT_BIRTH_DATE, encodeBirthDate(1990, 3, 9));
        if (mode) host.setInt(wire::CONTACT_TABLE, row, WISH_MODE, *mode);
        host.setText(wire::CONTACT_TABLE, row, wire::CNT_UID, uid);
        host.setInt(wire::CONTACT_TABLE, row, wire::CNT_NET, net);
        if (row > host.contactCount) host.contactCount = row;
    }

    void defaultTemplate(const std::string& text) { host.setText(wire::CONFIG_TABLE, 0, WISH_TEXT_DEFAULT, text); }
    void ownTemplate(int32_t row, const std::string& text) { host.setText(wire::CONTACT_TABLE, row, WISH_TEXT_OWN, text); }

    // Today's list as a refresh of the buttons would leave it.
    void rebuildList() {
        collectTodaysBirthdays();
        host.clearCalls();
    }

    std::vector<std::string> sendAndDescribe() {
        rebuildList();
        sendWishes();
        return describe(host.calls());
    }

    std::vector<std::string> bodies() const {
        std::vector<std::string> texts;
        for (const HostCall& call : host.messages(wire::REQ_MESSAGE_NEW)) texts.push_back(call.payloadText(22).value_or("<null>"));
        return texts;
    }
};

// One contact's whole turn, in the order the host sees it.
std::vector<std::string> turnOf(int32_t row, const std::optional<std::string>& templateRead, bool queued) {
    const std::string r = std::to_string(row);
    std::vector<std::string> calls = {"int 1/" + r + "/139015"};
    if (templateRead) calls.push_back(*templateRead);
    for (const char* column : {"8", "17", "6", "7", "139033", "0"})
        calls.push_back("text 1/" + r + "/" + column + " size 0");
    calls.push_back("int 1/" + r + "/1");
    calls.push_back("message 100");
    if (queued) calls.push_back("message 101");
    return calls;
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// --- The walk over today's list ---

TEST_F(WishSendingTest, EmptyListSendsNothing) {
    sendWishes();  // never built since load
    EXPECT_TRUE(host.calls().empty());
    host.contactCount = 3;  // built, nobody today
    EXPECT_TRUE(sendAndDescribe().empty());
}

TEST_F(WishSendingTest, ListIsNotRebuiltBySending) {
    contact(1, 0);
    rebuildList();
    today.set({2026, 3, 10});  // nobody tomorrow, but the list still says row 1
    sendWishes();
    EXPECT_TRUE(host.messages(wire::REQ_CONTACT_COUNT).empty());
    EXPECT_EQ(host.messages(wire::REQ_MESSAGE_NEW).size(), 1u);
}

TEST_F(WishSendingTest, EachContactIsHandledToTheEndBeforeTheNext) {
    contact(2, 0);
    contact(5, 1);
    EXPECT_EQ(sendAndDescribe(), joined(turnOf(2, "text 0/0/139019 size -1", true),
                                        turnOf(5, "text 1/5/139013 size -1", true)));
}

TEST_F(WishSendingTest, ExcludedContactCostsOneReadAndTheNextIsStillSent) {
    contact(1, 2);
    contact(2, 0);
    EXPECT_EQ(sendAndDescribe(), joined({"int 1/1/139015"}, turnOf(2, "text 0/0/139019 size -1", true)));
}

TEST_F(WishSendingTest, UnknownModeSendsAnEmptyWishAfterTheFiveReads) {
    for (int32_t mode : {3, -1}) {
        contact(1, mode);
        defaultTemplate("Sto lat");
        ownTemplate(1, "Sto lat");
        EXPECT_EQ(sendAndDescribe(), turnOf(1, std::nullopt, true)) << "mode " << mode;
        EXPECT_EQ(bodies(), std::vector<std::string>{""});
    }
}

TEST_F(WishSendingTest, FullListSendsAllItsWishesAndStops) {
    // 300 contacts with a birthday today, of whom the list holds the first 254.
    for (int32_t row = 1; row <= 300; ++row) contact(row, 0, "uid" + std::to_string(row));
    defaultTemplate("Sto lat");
    rebuildList();
    sendWishes();
    const auto sent = host.messages(wire::REQ_MESSAGE_NEW);
    ASSERT_EQ(sent.size(), 254u);
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].payloadText(18), "uid" + std::to_string(i + 1));
        EXPECT_EQ(sent[i].payloadText(22), std::optional<std::string>("Sto lat"));
    }
    EXPECT_EQ(host.messages(wire::REQ_MESSAGE_QUEUE).size(), 254u);
    // Nothing is read of the contacts the list had no room for.
    for (const HostCall& call : host.ofKind(HostCall::Kind::GetValue)) ASSERT_LE(call.row, 254);
    EXPECT_TRUE(host.calls().back().isMessage(wire::REQ_MESSAGE_QUEUE));
}

// --- Templates ---

TEST_F(WishSendingTest, DefaultTemplateAtItsDefaultIsSentAsItIs) {
    contact(1, 0);
    defaultTemplate("Najlepszego, itd.");
    sendAndDescribe();
    EXPECT_EQ(bodies(), std::vector<std::string>{"Najlepszego, itd."});
}

TEST_F(WishSendingTest, ModeNeverSetMeansTheDefaultTemplate) {
    contact(1, std::nullopt);
    defaultTemplate("Sto lat!");
    ownTemplate(1, "W\xb3" "asne");
    EXPECT_EQ(sendAndDescribe(), turnOf(1, "text 0/0/139019 size -1", true));
    EXPECT_EQ(bodies(), std::vector<std::string>{"Sto lat!"});
}

TEST_F(WishSendingTest, OwnTemplateIsTheContactsEvenWhenEmpty) {
    contact(1, 1);
    contact(2, 1);
    defaultTemplate("Sto lat!");
    ownTemplate(1, "Wszystkiego najlepszego, @name!");
    ownTemplate(2, "");
    host.setText(wire::CONTACT_TABLE, 1, wire::CNT_FIRST_NAME, "\xa3ucja");
    sendAndDescribe();
    EXPECT_EQ(bodies(), (std::vector<std::string>{"Wszystkiego najlepszego, \xa3ucja!", ""}));
}

TEST_F(WishSendingTest, NullTextsFromTheHostReadAsEmpty) {
    contact(1, 0);
    host.setNullText(wire::CONFIG_TABLE, 0, WISH_TEXT_DEFAULT);
    host.setNullText(wire::CONTACT_TABLE, 1, wire::CNT_UID);
    host.setNullText(wire::CONTACT_TABLE, 1, wire::CNT_NICK);
    sendAndDescribe();
    const auto sent = host.messages(wire::REQ_MESSAGE_NEW);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].payloadText(18), std::optional<std::string>(""));
    EXPECT_EQ(sent[0].payloadText(22), std::optional<std::string>(""));
}

TEST_F(WishSendingTest, PlaceholdersAreFilledFromTheContactsColumns) {
    contact(1, 0);
    defaultTemplate("@display (@nick) @name @surname: @age@age, @Nick");
    host.setText(wire::CONTACT_TABLE, 1, wire::CNT_DISPLAY_NAME, "Kuba @nick");
    host.setText(wire::CONTACT_TABLE, 1, wire::CNT_NICK, "@nick");
    host.setText(wire::CONTACT_TABLE, 1, wire::CNT_FIRST_NAME, "Jakub");
    host.setText(wire::CONTACT_TABLE, 1, wire::CNT_SURNAME, "Nowak");
    host.setInt(wire::CONTACT_TABLE, 1, AGE, 30);  // read back as text
    sendAndDescribe();
    EXPECT_EQ(bodies(), std::vector<std::string>{"Kuba @nick (@nick) Jakub Nowak: 3030, @Nick"});
}

TEST_F(WishSendingTest, AgeIsTheOneTheNoticeWrote) {
    contact(1, 0);
    host.setInt(wire::CONTACT_TABLE, 1, wire::CNT_BIRTH_DATE, encodeBirthDate(1996, 3, 9));
    defaultTemplate("Masz ju\xbf @age lat");
    showBirthdayNotice(NOTICE_POPUP);
    host.clearCalls();
    sendWishes();
    EXPECT_EQ(bodies(), std::vector<std::string>{"Masz ju\xbf 30 lat"});
}

// --- The records ---

TEST_F(WishSendingTest, ChatMessageCarriesTheContactAndTheWish) {
    contact(4, 0, "12345", 7);
    defaultTemplate("Sto lat");
    sendAndDescribe();
    const auto sent = host.messages(wire::REQ_MESSAGE_NEW);
    ASSERT_EQ(sent.size(), 1u);
    const HostCall& call = sent[0];
    // The request itself: a core request with the message's address.
    EXPECT_EQ(call.recordSize(), 30);
    EXPECT_EQ(call.recordWord(10), 0u);
    EXPECT_EQ(call.recordWord(14), 0u);
    EXPECT_NE(call.recordWord(22), 0u);
    EXPECT_EQ(call.recordWord(26), 0u);

    ASSERT_EQ(call.payload.size(), 58u);
    EXPECT_EQ(call.payloadHalf(0), 58);
    EXPECT_EQ(call.payloadWord(2), 0u);   // reservedA
    EXPECT_EQ(call.payloadWord(6), 7u);   // net
    EXPECT_EQ(call.payloadWord(10), 1u);  // type
    EXPECT_EQ(call.payloadText(14), std::optional<std::string>(""));
    EXPECT_EQ(call.payloadText(18), std::optional<std::string>("12345"));
    EXPECT_EQ(call.payloadText(22), std::optional<std::string>("Sto lat"));
    EXPECT_EQ(call.payloadText(26), std::optional<std::string>(""));
    EXPECT_EQ(call.payloadWord(30), 2u);  // flags
    EXPECT_EQ(call.payloadWord(34), 0u);  // action id
    EXPECT_EQ(call.payloadWord(38), 0u);  // action parent
    EXPECT_EQ(call.payloadWord(42), 0xFFFFFFFEu);  // action contact -2
    for (size_t offset : {46u, 50u, 54u}) EXPECT_EQ(call.payloadWord(offset), 0u) << offset;
}

TEST_F(WishSendingTest, QueueRecordCarriesItsOwnContactsMessageNumber) {
    contact(1, 0);
    contact(2, 0);
    uint32_t next = 41;
    host.answer = [&next](const HostCall& call) -> std::optional<uint32_t> {
        if (call.isMessage(wire::REQ_MESSAGE_NEW)) return next++;
        return std::nullopt;
    };
    sendAndDescribe();
    const auto queued = host.messages(wire::REQ_MESSAGE_QUEUE);
    ASSERT_EQ(queued.size(), 2u);
    const std::vector<uint32_t> numbers = {41, 42};
    for (size_t i = 0; i < queued.size(); ++i) {
        const HostCall& call = queued[i];
        EXPECT_EQ(call.recordWord(10), 0u);  // the request goes to the host
        const std::vector<uint8_t> expected = {
            30,   0,                                                                    // size
            0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,  // id, reserved1, net
            0,    0,    0,    0,    0, 0, 0, 0,                                         // type, reserved2
            static_cast<uint8_t>(numbers[i]), 0, 0, 0,                                  // p1
            0,    0,    0,    0};                                                       // p2
        EXPECT_EQ(call.payload, expected) << "contact " << i + 1;
    }
}

TEST_F(WishSendingTest, NoQueueRequestWhenTheHostMadeNoMessage) {
    contact(1, 0);
    contact(2, 0);
    bool first = true;
    host.answer = [&first](const HostCall& call) -> std::optional<uint32_t> {
        if (!call.isMessage(wire::REQ_MESSAGE_NEW)) return std::nullopt;
        const uint32_t number = first ? 0u : 9u;
        first = false;
        return number;
    };
    EXPECT_EQ(sendAndDescribe(), joined(turnOf(1, "text 0/0/139019 size -1", false),
                                        turnOf(2, "text 0/0/139019 size -1", true)));
    EXPECT_EQ(host.messages(wire::REQ_MESSAGE_QUEUE).at(0).payloadWord(22), 9u);
}

}  // namespace
}  // namespace vemora::testing
