// What the host sees when one of the plugin's elements is refreshed or used.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "birthday/calendar_date.h"
#include "plugin_test.h"
#include "record_bytes.h"

namespace vemora::testing {
namespace {

constexpr uint32_t SEND_WISHES = 139027;
constexpr uint32_t BIRTHDAYS = 139034;
constexpr uint32_t WISH_MODE_LIST = 139032;
constexpr uint32_t BUTTON_GROUP = 6543;
constexpr uint32_t CONFIG_INFO_MODE = 139014;
constexpr uint32_t INACTIVE_BUTTON = 0x1000001;
constexpr uint32_t ACTIVE_BUTTON = 0x1000000;

// A status or value request: 74 bytes, zero but for the named fields.
std::vector<uint8_t> uiRequest(uint32_t id, uint32_t parent, uint32_t contact, uint32_t fieldMask) {
    std::vector<uint8_t> bytes(74, 0);
    bytes[0] = 74;
    put(bytes, 2, id);
    put(bytes, 6, parent);
    put(bytes, 10, contact);
    put(bytes, 30, fieldMask);
    return bytes;
}

std::vector<uint8_t> statusRequest(uint32_t id, uint32_t parent, uint32_t status, uint32_t mask) {
    std::vector<uint8_t> bytes = uiRequest(id, parent, 0xFFFFFFFEu, 0x1);
    put(bytes, 34, status);
    put(bytes, 38, mask);
    return bytes;
}

class ActionHandlingTest : public PluginTest {
protected:
    void SetUp() override {
        connect();
        host.buttonGroup = BUTTON_GROUP;
        host.contactCount = 4;
    }

    void birthdayToday(int32_t row) { host.setInt(wire::CONTACT_TABLE, row, wire::CNT_BIRTH_DATE, encodeBirthDate(1990, 3, 9)); }
    void noBirthday(int32_t row) { host.setInt(wire::CONTACT_TABLE, row, wire::CNT_BIRTH_DATE, encodeBirthDate(1990, 7, 1)); }

    // Every notification is answered 0.
    void notify(const wire::ActionRef& element, uint32_t code) { EXPECT_EQ(deliverAction(element, code), 0u); }
    // An element named by its id alone: no parent, no contact.
    void notify(uint32_t id, uint32_t code) { notify({static_cast<int32_t>(id), 0, wire::NO_CONTACT}, code); }

    // The requests sent, in order; a rebuild of today's list asks the contact
    // count as it walks, and shows here as one REQ_CONTACT_COUNT.
    std::vector<uint32_t> sentIds() const {
        std::vector<uint32_t> ids;
        for (const HostCall& call : host.messages()) {
            const uint32_t id = call.messageId();
            if (id == wire::REQ_CONTACT_COUNT && !ids.empty() && ids.back() == wire::REQ_CONTACT_COUNT) continue;
            ids.push_back(id);
        }
        return ids;
    }

    bool readBirthDates() const {
        for (const HostCall& call : host.calls())
            if (call.isRead(wire::CONTACT_TABLE, wire::CNT_BIRTH_DATE)) return true;
        return false;
    }
};

TEST_F(ActionHandlingTest, RefreshWithNobodyTodayMakesBothButtonsInactive) {
    noBirthday(1);
    for (uint32_t button : {SEND_WISHES, BIRTHDAYS}) {
        host.clearCalls();
        notify(button, wire::ACTION_REFRESH);
        EXPECT_EQ(sentIds(), (std::vector<uint32_t>{wire::REQ_CONTACT_COUNT, wire::REQ_BUTTON_GROUP, wire::REQ_ACTION_SET_STATUS}));
        EXPECT_EQ(host.messages(wire::REQ_ACTION_SET_STATUS).at(0).payload,
                  statusRequest(button, BUTTON_GROUP, INACTIVE_BUTTON, 0xFFFFFFFFu));
    }
}

TEST_F(ActionHandlingTest, RefreshWithBirthdaysMakesBothButtonsActive) {
    for (int32_t birthdays : {1, 3}) {
        for (int32_t row = 1; row <= birthdays; ++row) birthdayToday(row);
        for (uint32_t button : {SEND_WISHES, BIRTHDAYS}) {
            host.clearCalls();
            notify(button, wire::ACTION_REFRESH);
            EXPECT_EQ(host.messages(wire::REQ_ACTION_SET_STATUS).at(0).payload,
                      statusRequest(button, BUTTON_GROUP, ACTIVE_BUTTON, 0xFFFFFFFFu))
                << birthdays << " birthdays, button " << button;
        }
    }
}

TEST_F(ActionHandlingTest, PressedBirthdaysButtonShowsTheNoticeInTheChosenMode) {
    birthdayToday(2);
    host.setText(wire::CONTACT_TABLE, 2, wire::CNT_DISPLAY_NAME, "Ala");

    host.setInt(wire::CONFIG_TABLE, 0, CONFIG_INFO_MODE, 1);
    notify(BIRTHDAYS, wire::ACTION_PRESSED);
    ASSERT_EQ(host.messages(wire::REQ_INFO_BOX).size(), 1u);
    EXPECT_NE(host.messages(wire::REQ_INFO_BOX)[0].recordText(22)->find("Ala"), std::string::npos);
    EXPECT_TRUE(host.messages(wire::NOTIFY_SHOW).empty());
    EXPECT_EQ(sentIds().front(), wire::REQ_CONTACT_COUNT);  // the list is rebuilt first

    // The mode is read anew at every press.
    host.clearCalls();
    host.setInt(wire::CONFIG_TABLE, 0, CONFIG_INFO_MODE, 0);
    notify(BIRTHDAYS, wire::ACTION_PRESSED);
    EXPECT_EQ(host.messages(wire::NOTIFY_SHOW).size(), 1u);
    EXPECT_TRUE(host.messages(wire::REQ_INFO_BOX).empty());
    EXPECT_TRUE(host.messages(wire::REQ_ACTION_SET_STATUS).empty());
}

TEST_F(ActionHandlingTest, PressedSendWishesButtonSendsToTheListOfTheLastRefresh) {
    birthdayToday(3);
    host.setText(wire::CONTACT_TABLE, 3, wire::CNT_UID, "31337");
    notify(SEND_WISHES, wire::ACTION_REFRESH);

    // A change after the refresh is not seen: the press does not rebuild the list.
    noBirthday(3);
    birthdayToday(4);
    host.clearCalls();
    notify(SEND_WISHES, wire::ACTION_PRESSED);
    const auto messages = host.messages(wire::REQ_MESSAGE_NEW);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].payloadText(18), "31337");
    EXPECT_TRUE(host.messages(wire::REQ_CONTACT_COUNT).empty());
    EXPECT_FALSE(readBirthDates());
    EXPECT_TRUE(host.messages(wire::REQ_ACTION_SET_STATUS).empty());
}

TEST_F(ActionHandlingTest, OwnTemplateFieldFollowsTheRadioListWhateverTheCode) {
    struct Case {
        std::optional<std::string> value;
        uint32_t status;
    };
    const std::vector<Case> cases = {
        {"1", 0}, {"12", 0}, {"0", 0xFFFFFFFFu}, {"2", 0xFFFFFFFFu}, {"", 0xFFFFFFFFu}, {"01", 0xFFFFFFFFu},
        {std::nullopt, 0xFFFFFFFFu},  // a null answer keeps the field disabled
    };
    for (const Case& c : cases) {
        for (uint32_t code : {wire::ACTION_REFRESH, wire::ACTION_PRESSED, 7u}) {
            SCOPED_TRACE("value " + c.value.value_or("(null)") + ", code " + std::to_string(code));
            host.actionValue = c.value;
            host.clearCalls();
            notify({WISH_MODE_LIST, 139020, 17}, code);
            ASSERT_EQ(sentIds(), (std::vector<uint32_t>{wire::REQ_ACTION_GET_VALUE, wire::REQ_ACTION_SET_STATUS}));
            // The value is asked of the element as the host named it, contact included.
            EXPECT_EQ(host.messages(wire::REQ_ACTION_GET_VALUE)[0].payload, uiRequest(WISH_MODE_LIST, 139020, 17, 0x40));
            // The field is named without a contact, and only its disabled bit changes.
            EXPECT_EQ(host.messages(wire::REQ_ACTION_SET_STATUS)[0].payload, statusRequest(139031, 139020, c.status, 0x2));
        }
    }
}

TEST_F(ActionHandlingTest, UnknownIdsAndCodesSendNothing) {
    // Today's list holds a birthday, so anything that sends the wishes would show.
    birthdayToday(1);
    notify(SEND_WISHES, wire::ACTION_REFRESH);
    host.clearCalls();
    for (uint32_t id : {0u, 139020u, 139031u, 139017u, 139033u, 0xFFFFFFFFu}) {
        for (uint32_t code : {wire::ACTION_REFRESH, wire::ACTION_PRESSED, 0u}) {
            notify(id, code);
            EXPECT_TRUE(host.calls().empty()) << "id " << id << " code " << code;
        }
    }
    for (uint32_t code : {0u, 2u, 9u, 11u}) {
        notify(SEND_WISHES, code);
        EXPECT_TRUE(host.calls().empty()) << "code " << code;
    }
    // The list was not empty: a press sends the wish.
    notify(SEND_WISHES, wire::ACTION_PRESSED);
    EXPECT_EQ(host.messages(wire::REQ_MESSAGE_NEW).size(), 1u);
}

TEST_F(ActionHandlingTest, UnknownCodeOnBirthdaysButtonOnlyRebuildsTheList) {
    birthdayToday(1);
    notify(BIRTHDAYS, 9);
    EXPECT_EQ(sentIds(), std::vector<uint32_t>{wire::REQ_CONTACT_COUNT});
    EXPECT_TRUE(readBirthDates());
    EXPECT_TRUE(host.ofKind(HostCall::Kind::SetValue).empty());
}

}  // namespace
}  // namespace vemora::testing
