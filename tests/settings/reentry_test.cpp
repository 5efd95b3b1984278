// The host may call in again while the plugin waits for one of its requests:
// a modal information box, the notifier's popup or a send loop pumps window
// messages and so delivers the user's next click. Every call completes, and a
// round of wishes reaches exactly the contacts it started with, once each.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "birthday/birthday_list.h"
#include "birthday/calendar_date.h"
#include "birthday/operations.h"
#include "plugin_test.h"

namespace vemora::testing {
namespace {

class ReentryTest : public PluginTest {
protected:
    void SetUp() override {
        connect();
        for (int32_t row = 1; row <= 4; ++row) {
            // Rows 1 to 3 have their birthday today (9 March), row 4 tomorrow.
            birthday(row, row <= 3 ? 9 : 10);
            host.setText(wire::CONTACT_TABLE, row, wire::CNT_DISPLAY_NAME, "Kontakt" + std::to_string(row));
            host.setText(wire::CONTACT_TABLE, row, wire::CNT_UID, "uid" + std::to_string(row));
        }
        host.contactCount = 4;
        host.setText(wire::CONFIG_TABLE, 0, wire::CFG_WISH_TEXT, "Sto lat, @display!");
        host.answer = [this](const HostCall& call) -> std::optional<uint32_t> {
            // Once per test: the click comes while this one request waits.
            if (reenter && reenterOn(call)) {
                auto inside = std::move(reenter);
                reenter = nullptr;
                inside();
            }
            return std::nullopt;
        };
    }

    void birthday(int32_t row, int32_t day) {
        host.setInt(wire::CONTACT_TABLE, row, wire::CNT_BIRTH_DATE, encodeBirthDate(1990, 3, static_cast<uint32_t>(day)));
    }

    void notify(int32_t element, uint32_t code) { EXPECT_EQ(deliverAction({element, 0, wire::NO_CONTACT}, code), 0u); }
    void refreshWishesButton() { notify(wire::ACT_SEND_WISHES_BUTTON, wire::ACTION_REFRESH); }
    void pressWishes() { notify(wire::ACT_SEND_WISHES_BUTTON, wire::ACTION_PRESSED); }
    void pressBirthdays() { notify(wire::ACT_BIRTHDAYS_BUTTON, wire::ACTION_PRESSED); }

    // The recipients of the wishes, in the order the host got them.
    std::vector<std::string> recipients() const {
        std::vector<std::string> uids;
        for (const HostCall& call : host.messages(wire::REQ_MESSAGE_NEW)) uids.push_back(call.payloadText(18).value_or("?"));
        return uids;
    }
    std::vector<std::string> noticesShown() const {
        std::vector<std::string> texts;
        for (const HostCall& call : host.calls()) {
            if (call.isMessage(wire::REQ_INFO_BOX)) texts.push_back(call.recordText(22).value_or("<null>"));
            if (call.isMessage(wire::NOTIFY_SHOW)) texts.push_back(call.recordText(24).value_or("<null>"));
        }
        return texts;
    }
    std::vector<int32_t> listedRows() const {
        std::vector<int32_t> rows;
        for (int slot = 0; slot < BIRTHDAY_LIST_SLOTS && birthdayList().rows[slot] != 0; ++slot)
            rows.push_back(birthdayList().rows[slot]);
        return rows;
    }

    std::function<bool(const HostCall&)> reenterOn;
    std::function<void()> reenter;
};

bool isWishTo(const HostCall& call, const std::string& uid) {
    return call.isMessage(wire::REQ_MESSAGE_NEW) && call.payloadText(18) == uid;
}

TEST_F(ReentryTest, AContactEditedDuringItsWishLeavesTheRoundWhole) {
    refreshWishesButton();
    reenterOn = [](const HostCall& call) { return isWishTo(call, "uid1"); };
    reenter = [this] {
        birthday(1, 20);        // no longer today
        refreshWishesButton();  // the host brings the button up to date
    };
    host.clearCalls();
    pressWishes();
    EXPECT_EQ(recipients(), (std::vector<std::string>{"uid1", "uid2", "uid3"}));
    EXPECT_EQ(listedRows(), (std::vector<int32_t>{2, 3}));  // the refresh still took effect
}

TEST_F(ReentryTest, MidnightDuringARoundDoesNotSendTomorrowsWishes) {
    refreshWishesButton();
    reenterOn = [](const HostCall& call) { return isWishTo(call, "uid1"); };
    reenter = [this] {
        today.set({2026, 3, 10});
        refreshWishesButton();
    };
    host.clearCalls();
    pressWishes();
    EXPECT_EQ(recipients(), (std::vector<std::string>{"uid1", "uid2", "uid3"}));
    host.clearCalls();
    pressWishes();  // the next round goes to tomorrow's list, as its refresh left it
    EXPECT_EQ(recipients(), (std::vector<std::string>{"uid4"}));
}

TEST_F(ReentryTest, ARoundPressedDuringTheInformationBoxCompletesAndSoDoesTheNotice) {
    host.setInt(wire::CONFIG_TABLE, 0, wire::CFG_INFO_MODE, 1);
    reenterOn = [](const HostCall& call) { return call.isMessage(wire::REQ_INFO_BOX); };
    reenter = [this] { pressWishes(); };
    pressBirthdays();
    EXPECT_EQ(recipients(), (std::vector<std::string>{"uid1", "uid2", "uid3"}));
    const std::vector<std::string> shown = noticesShown();
    ASSERT_EQ(shown.size(), 1u);
    for (const char* name : {"Kontakt1", "Kontakt2", "Kontakt3"}) EXPECT_NE(shown[0].find(name), std::string::npos);
}

TEST_F(ReentryTest, ANoticeAskedForDuringThePopupIsShownAndThePopupKeepsItsText) {
    host.setInt(wire::CONFIG_TABLE, 0, wire::CFG_INFO_MODE, 1);
    reenterOn = [](const HostCall& call) { return call.isMessage(wire::NOTIFY_SHOW); };
    reenter = [this] {
        birthday(3, 20);
        pressBirthdays();
    };
    EXPECT_EQ(deliver(wire::MSG_START), 1u);
    // The inner notice goes out first, while the popup's request waits.
    const std::vector<std::string> shown = noticesShown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].find("Kontakt3"), std::string::npos);
    EXPECT_NE(shown[1].find("<b>Kontakt3<b>"), std::string::npos);
    EXPECT_EQ(host.messages(wire::REQ_INFO_BOX).size(), 1u);
}

TEST_F(ReentryTest, ARebuildDuringARebuildLeavesOneWholeList) {
    int counts = 0;
    // The notice's third count request: its walk has listed row 1 already.
    reenterOn = [&counts](const HostCall& call) { return call.isMessage(wire::REQ_CONTACT_COUNT) && ++counts == 3; };
    reenter = [this] {
        birthday(1, 20);
        refreshWishesButton();
        pressWishes();
    };
    showBirthdayNotice(NOTICE_INFO_BOX);
    // The inner round went to the list its refresh built; the notice shows
    // the contacts its own walk found, each once.
    EXPECT_EQ(recipients(), (std::vector<std::string>{"uid2", "uid3"}));
    const std::vector<std::string> shown = noticesShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(shown[0].find('\n')),
              "\n- Kontakt1 sko\xf1" "czy\xb3 36 lat\n- Kontakt2 sko\xf1" "czy\xb3 36 lat\n- Kontakt3 sko\xf1"
              "czy\xb3 36 lat\nZ\xb3\xf3\xbf im \xbf" "yczenia!!");
    EXPECT_EQ(listedRows(), (std::vector<int32_t>{1, 2, 3}));
}

}  // namespace
}  // namespace vemora::testing
