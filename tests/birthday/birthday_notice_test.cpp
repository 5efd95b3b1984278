// Today's birthday notice as the host and the notifier see it.
#include <gtest/gtest.h>

#include <algorithm>
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

constexpr uint32_t AGE_COLUMN = 139033;
constexpr uint32_t HIDE_COLUMN = 139034;
constexpr uint32_t INFO_MODE_COLUMN = 139014;

// The literals in code page 1250 (split where a hex escape would run on).
const std::string HEADING = "Dzi\x9c urodziny obchodz\xb9:";
const std::string VERB_FEMALE = " sko\xf1" "czy\xb3" "a ";
const std::string VERB_MALE = " sko\xf1" "czy\xb3 ";
const std::string CLOSING_HER = "\nZ\xb3\xf3\xbf jej \xbf" "yczenia!!";
const std::string CLOSING_HIM = "\nZ\xb3\xf3\xbf mu \xbf" "yczenia!!";
const std::string CLOSING_THEM = "\nZ\xb3\xf3\xbf im \xbf" "yczenia!!";

class BirthdayNoticeTest : public PluginTest {
protected:
    void SetUp() override { connect(); }

    // A contact with a birthday today, born in the given year.
    void contact(int32_t row, const std::string& displayName, int32_t genderCode, uint32_t birthYear) {
        host.setInt(wire::CONTACT_TABLE, row, wire::CNT_BIRTH_DATE, encodeBirthDate(birthYear, 3, 9));
        host.setText(wire::CONTACT_TABLE, row, wire::CNT_DISPLAY_NAME, displayName);
        host.setInt(wire::CONTACT_TABLE, row, wire::CNT_GENDER_CODE, genderCode);
        if (row > host.contactCount) host.contactCount = row;
    }

    // The text the notice was shown with, in whichever way it went out.
    std::string shownText() const {
        const auto popups = host.messages(wire::NOTIFY_SHOW);
        const auto boxes = host.messages(wire::REQ_INFO_BOX);
        EXPECT_EQ(popups.size() + boxes.size(), 1u);
        if (!popups.empty()) return popups[0].recordText(24).value_or("<null>");
        if (!boxes.empty()) return boxes[0].recordText(22).value_or("<null>");
        return "<nothing shown>";
    }

    std::string noticeIn(int32_t mode) {
        host.clearCalls();
        showBirthdayNotice(mode);
        return shownText();
    }

    // The calls after today's list was rebuilt, in a compact form.
    std::vector<std::string> callsAfterRebuild() const {
        size_t start = 0;
        for (size_t i = 0; i < host.calls().size(); ++i)
            if (host.calls()[i].isMessage(wire::REQ_CONTACT_COUNT)) start = i + 1;
        return describe(host.calls(), start);
    }

    std::vector<HostCall> writes() const { return host.ofKind(HostCall::Kind::SetValue); }
};

// --- The two worked examples, byte for byte ---

TEST_F(BirthdayNoticeTest, OneWomanTurningThirtyInBothModes) {
    contact(1, "Ewa", 1, 1996);
    EXPECT_EQ(noticeIn(NOTICE_INFO_BOX),
              HEADING + "\n- Ewa" + VERB_FEMALE + "30 lat" + CLOSING_HER);
    EXPECT_EQ(noticeIn(NOTICE_POPUP),
              HEADING + "\n- <b>Ewa<b>" + VERB_FEMALE + "<b>30<b> lat" + CLOSING_HER);
    EXPECT_EQ(host.intAt(wire::CONTACT_TABLE, 1, AGE_COLUMN), 30);
}

TEST_F(BirthdayNoticeTest, ManWithAnAgeAndNewbornInBothModes) {
    contact(1, "Marek", 0, 2002);
    contact(2, "Ola", 0, 2026);
    EXPECT_EQ(noticeIn(NOTICE_INFO_BOX),
              HEADING + "\n- Marek" + VERB_MALE + "24 lat\n- Ola" + CLOSING_THEM);
    EXPECT_EQ(noticeIn(NOTICE_POPUP),
              HEADING + "\n- <b>Marek<b>" + VERB_MALE + "<b>24<b> lat\n- <b>Ola<b>" + CLOSING_THEM);
}

TEST_F(BirthdayNoticeTest, FullListIsShownWholeAndNothingBeyondIt) {
    // 300 contacts with a birthday today, of whom the list holds the first 254.
    std::string expected = HEADING;
    for (int32_t row = 1; row <= 300; ++row) {
        const std::string name = "Osoba" + std::to_string(row);
        contact(row, name, 2, 1990);
        if (row <= BIRTHDAY_LIST_CAPACITY) expected += "\n- " + name + VERB_MALE + "36 lat";
    }
    expected += CLOSING_THEM;
    EXPECT_EQ(noticeIn(NOTICE_INFO_BOX), expected);
    const std::vector<HostCall> ages = writes();
    ASSERT_EQ(ages.size(), 254u);
    EXPECT_EQ(ages.front().row, 1);
    EXPECT_EQ(ages.back().row, 254);
    EXPECT_EQ(host.intAt(wire::CONTACT_TABLE, 255, AGE_COLUMN), std::nullopt);
}

// --- What the host sees, in order ---

TEST_F(BirthdayNoticeTest, ReadsWritesAndShowsInTheOrderOfTheWalk) {
    contact(1, "Marek", 0, 2002);
    contact(2, "Ola", 0, 2026);
    host.clearCalls();
    showBirthdayNotice(NOTICE_POPUP);
    EXPECT_EQ(callsAfterRebuild(), (std::vector<std::string>{
                                       "int 1/1/19", "write 1/1/139033=24", "text 1/1/8 size 0", "int 1/1/20",
                                       "text 1/1/8 size 0",  // the name again, for the gender
                                       "int 1/2/19", "text 1/2/8 size 0",  // born this year: no write, no gender
                                       "int 0/0/139034", "message 774201"}));

    host.clearCalls();
    showBirthdayNotice(NOTICE_INFO_BOX);
    const std::vector<std::string> box = callsAfterRebuild();
    ASSERT_FALSE(box.empty());
    EXPECT_EQ(box.back(), "message 10204");
    EXPECT_EQ(std::count(box.begin(), box.end(), "int 0/0/139034"), 0);
}

TEST_F(BirthdayNoticeTest, GenderCodeSparesTheSecondNameRead) {
    contact(1, "Jan", 1, 1990);
    host.clearCalls();
    showBirthdayNotice(NOTICE_INFO_BOX);
    EXPECT_EQ(callsAfterRebuild(), (std::vector<std::string>{"int 1/1/19", "write 1/1/139033=36", "text 1/1/8 size 0",
                                                             "int 1/1/20", "message 10204"}));
}

// --- The popup record ---

TEST_F(BirthdayNoticeTest, PopupRecordIsTheFull52BytesForTheNotifier) {
    contact(1, "Ewa", 1, 1996);
    host.setInt(wire::CONFIG_TABLE, 0, HIDE_COLUMN, 1);
    showBirthdayNotice(NOTICE_POPUP);
    const auto popups = host.messages(wire::NOTIFY_SHOW);
    ASSERT_EQ(popups.size(), 1u);
    const HostCall& popup = popups[0];
    ASSERT_EQ(popup.record.size(), 52u);
    const uint32_t text = popup.recordWord(24);
    EXPECT_NE(text, 0u);
    const std::vector<uint8_t> expected = {
        52,   0,                                                // size
        0x39, 0xD0, 0x0B, 0x00,                                 // id 774201
        0,    0,    0,    0,                                    // reserved1
        0x06, 0x03, 0,    0,                                    // net 774
        0xFF, 0xFF, 0xFF, 0xFF,                                 // type -1
        0,    0,    0,    0,                                    // reserved2
        0,    0,                                                // unassigned, zeroed
        static_cast<uint8_t>(text), static_cast<uint8_t>(text >> 8), static_cast<uint8_t>(text >> 16),
        static_cast<uint8_t>(text >> 24),                       // text
        0,                                                      // both halves of byte 28
        255,                                                    // timeout: hide on a click
        0,                                                      // byte 30
        0,                                                      // unassigned, zeroed
        0x01, 0x1F, 0x02, 0x00,                                 // icon 139009
        0,    0,    0,    0,    0,    0,    0,    0,            // action id 0, parent 0
        0xFE, 0xFF, 0xFF, 0xFF,                                 // contact -2
        0,    0,    0,    0};                                   // word 48
    EXPECT_EQ(popup.record, expected);
}

TEST_F(BirthdayNoticeTest, PopupTimeoutFollowsTheHideSettingReadEachTime) {
    contact(1, "Ewa", 1, 1996);
    const std::vector<std::pair<int32_t, uint8_t>> cases = {{0, 5}, {1, 255}, {2, 1}, {-1, 1}, {256, 1}};
    for (const auto& [setting, timeout] : cases) {
        host.setInt(wire::CONFIG_TABLE, 0, HIDE_COLUMN, setting);
        host.clearCalls();
        showBirthdayNotice(NOTICE_POPUP);
        const auto popups = host.messages(wire::NOTIFY_SHOW);
        ASSERT_EQ(popups.size(), 1u);
        EXPECT_EQ(popups[0].recordByte(29), timeout) << "setting " << setting;
    }
}

// --- When and where it is shown ---

TEST_F(BirthdayNoticeTest, NobodyTodayShowsNothingAndWritesNothing) {
    host.contactCount = 2;
    host.setInt(wire::CONTACT_TABLE, 1, wire::CNT_BIRTH_DATE, encodeBirthDate(1990, 3, 10));
    for (int32_t mode : {NOTICE_POPUP, NOTICE_INFO_BOX}) {
        host.clearCalls();
        showBirthdayNotice(mode);
        EXPECT_TRUE(host.messages(wire::NOTIFY_SHOW).empty());
        EXPECT_TRUE(host.messages(wire::REQ_INFO_BOX).empty());
        EXPECT_TRUE(writes().empty());
        EXPECT_TRUE(callsAfterRebuild().empty());
    }
}

TEST_F(BirthdayNoticeTest, OtherModesWriteAgesButShowNothing) {
    contact(1, "Ewa", 1, 1996);
    for (int32_t mode : {2, -1, 0x7FFFFFFF}) {
        host.clearCalls();
        showBirthdayNotice(mode);
        EXPECT_EQ(writes().size(), 1u) << "mode " << mode;
        EXPECT_TRUE(host.messages(wire::NOTIFY_SHOW).empty());
        EXPECT_TRUE(host.messages(wire::REQ_INFO_BOX).empty());
    }
}

TEST_F(BirthdayNoticeTest, HostStartAlwaysUsesThePopup) {
    contact(1, "Ewa", 1, 1996);
    host.setInt(wire::CONFIG_TABLE, 0, INFO_MODE_COLUMN, 1);
    EXPECT_EQ(deliver(wire::MSG_START), 1u);
    EXPECT_EQ(host.messages(wire::NOTIFY_SHOW).size(), 1u);
    EXPECT_TRUE(host.messages(wire::REQ_INFO_BOX).empty());
}

// --- Ages ---

TEST_F(BirthdayNoticeTest, BirthYearInTheFutureGivesANegativeAge) {
    contact(1, "Jan", 2, 2027);
    EXPECT_EQ(noticeIn(NOTICE_INFO_BOX), HEADING + "\n- Jan" + VERB_MALE + "-1 lat" + CLOSING_HIM);
    EXPECT_EQ(host.intAt(wire::CONTACT_TABLE, 1, AGE_COLUMN), -1);
}

TEST_F(BirthdayNoticeTest, BirthYearZeroGivesTheCurrentYearAsAge) {
    contact(1, "Jan", 2, 0);
    EXPECT_EQ(noticeIn(NOTICE_INFO_BOX), HEADING + "\n- Jan" + VERB_MALE + "2026 lat" + CLOSING_HIM);
    EXPECT_EQ(host.intAt(wire::CONTACT_TABLE, 1, AGE_COLUMN), 2026);
}

TEST_F(BirthdayNoticeTest, BornThisYearKeepsTheStoredAge) {
    contact(1, "Ola", 1, 2026);
    host.setInt(wire::CONTACT_TABLE, 1, AGE_COLUMN, 7);
    noticeIn(NOTICE_INFO_BOX);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(host.intAt(wire::CONTACT_TABLE, 1, AGE_COLUMN), 7);
}

// --- Verb form and closing line ---

TEST_F(BirthdayNoticeTest, GenderCodeWinsOverTheName) {
    contact(1, "Jan", 1, 1990);
    EXPECT_EQ(noticeIn(NOTICE_INFO_BOX), HEADING + "\n- Jan" + VERB_FEMALE + "36 lat" + CLOSING_HER);
    contact(1, "Anna", 2, 1990);
    EXPECT_EQ(noticeIn(NOTICE_INFO_BOX), HEADING + "\n- Anna" + VERB_MALE + "36 lat" + CLOSING_HIM);
}

TEST_F(BirthdayNoticeTest, WithoutACodeOnlyAFinalLowerCaseADecidesFemale) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Anna", VERB_FEMALE + "36 lat" + CLOSING_HER},
        {"ANNA", VERB_MALE + "36 lat" + CLOSING_HIM},
        {"Jan", VERB_MALE + "36 lat" + CLOSING_HIM},
        {"Kasi\xb9", VERB_MALE + "36 lat" + CLOSING_HIM},  // ends in a Polish letter
    };
    for (int32_t code : {0, 3}) {
        for (const auto& [name, rest] : cases) {
            contact(1, name, code, 1990);
            EXPECT_EQ(noticeIn(NOTICE_INFO_BOX), HEADING + "\n- " + name + rest) << "code " << code;
        }
    }
}

TEST_F(BirthdayNoticeTest, EmptyNameWithoutACodeTakesTheMaleFormAndIsStillShown) {
    contact(1, "", 0, 1990);
    EXPECT_EQ(noticeIn(NOTICE_INFO_BOX), HEADING + "\n- " + VERB_MALE + "36 lat" + CLOSING_HIM);
    host.setNullText(wire::CONTACT_TABLE, 1, wire::CNT_DISPLAY_NAME);
    EXPECT_EQ(noticeIn(NOTICE_POPUP), HEADING + "\n- <b><b>" + VERB_MALE + "<b>36<b> lat" + CLOSING_HIM);
}

TEST_F(BirthdayNoticeTest, TwoOrMoreContactsAreAddressedTogether) {
    contact(1, "Ewa", 1, 1996);
    contact(2, "Anna", 1, 1990);
    const std::string text = noticeIn(NOTICE_INFO_BOX);
    EXPECT_EQ(text, HEADING + "\n- Ewa" + VERB_FEMALE + "30 lat\n- Anna" + VERB_FEMALE + "36 lat" + CLOSING_THEM);
}

TEST_F(BirthdayNoticeTest, LoneNewbornIsAddressedByItsOwnGender) {
    // Born this year: no verb, yet the closing line fits the one contact.
    contact(1, "Ola", 0, 2026);
    EXPECT_EQ(noticeIn(NOTICE_INFO_BOX), HEADING + "\n- Ola" + CLOSING_HER);
    contact(1, "Ola", 2, 2026);
    EXPECT_EQ(noticeIn(NOTICE_INFO_BOX), HEADING + "\n- Ola" + CLOSING_HIM);
    contact(1, "", 0, 2026);
    EXPECT_EQ(noticeIn(NOTICE_POPUP), HEADING + "\n- <b><b>" + CLOSING_HIM);
}

TEST_F(BirthdayNoticeTest, LoneNewbornsGenderIsAskedAfterTheWalk) {
    contact(1, "Kuba", 0, 2026);
    host.clearCalls();
    showBirthdayNotice(NOTICE_INFO_BOX);
    EXPECT_EQ(callsAfterRebuild(),
              (std::vector<std::string>{"int 1/1/19", "text 1/1/8 size 0", "int 1/1/20", "text 1/1/8 size 0", "message 10204"}));
}

}  // namespace
}  // namespace vemora::testing
