// Rebuilding today's birthday list from the contact table.
#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "birthday/birthday_list.h"
#include "birthday/calendar_date.h"
#include "birthday/today.h"
#include "plugin_test.h"

namespace vemora::testing {
namespace {

class BirthdayListTest : public PluginTest {
protected:
    void SetUp() override { connect(); }

    void birthday(int32_t row, uint32_t year, uint32_t month, uint32_t day) {
        host.setInt(wire::CONTACT_TABLE, row, wire::CNT_BIRTH_DATE, encodeBirthDate(year, month, day));
    }

    // The list's date is the pinned today, 2026-03-09.
    static void expectTodaysDate() {
        EXPECT_EQ(birthdayList().year, 2026);
        EXPECT_EQ(birthdayList().month, 3);
        EXPECT_EQ(birthdayList().day, 9);
    }

    std::vector<int32_t> listed() const {
        std::vector<int32_t> rows;
        for (int i = 0; i < BIRTHDAY_LIST_SLOTS && birthdayList().rows[i] != 0; ++i) rows.push_back(birthdayList().rows[i]);
        return rows;
    }
};

TEST_F(BirthdayListTest, NobodyTodayGivesAnEmptyListWithTodaysDate) {
    host.contactCount = 3;
    birthday(1, 1990, 3, 10);
    birthday(2, 1990, 9, 3);  // month and day swapped
    EXPECT_EQ(collectTodaysBirthdays(), 0);
    EXPECT_EQ(birthdayList().rows[0], 0);
    expectTodaysDate();
}

TEST_F(BirthdayListTest, MatchesAreListedInRowOrderWhateverTheYear) {
    host.contactCount = 6;
    birthday(2, 1980, 3, 9);
    birthday(3, 1990, 4, 9);
    birthday(4, 0, 3, 9);
    birthday(5, 2026, 3, 9);
    birthday(6, 65535, 3, 9);
    EXPECT_EQ(collectTodaysBirthdays(), 4);
    EXPECT_EQ(listed(), (std::vector<int32_t>{2, 4, 5, 6}));
}

TEST_F(BirthdayListTest, TwentyNinthOfFebruaryMatchesOnlyInLeapYears) {
    host.contactCount = 1;
    birthday(1, 2000, 2, 29);
    for (CalendarDate date : {CalendarDate{2027, 2, 28}, CalendarDate{2027, 3, 1}}) {
        today.set(date);
        EXPECT_EQ(collectTodaysBirthdays(), 0) << date.year << "-" << date.month << "-" << date.day;
    }
    today.set({2028, 2, 29});
    EXPECT_EQ(collectTodaysBirthdays(), 1);
}

TEST_F(BirthdayListTest, ZeroOrUnreadBirthDatesNeverMatch) {
    host.contactCount = 2;
    host.setInt(wire::CONTACT_TABLE, 1, wire::CNT_BIRTH_DATE, 0);
    EXPECT_EQ(collectTodaysBirthdays(), 0);
}

TEST_F(BirthdayListTest, MonthWithoutADayOrADayWithoutAMonthNeverMatches) {
    host.contactCount = 3;
    birthday(1, 1990, 3, 0);
    birthday(2, 1990, 0, 9);
    birthday(3, 1990, 3, 9);
    EXPECT_EQ(collectTodaysBirthdays(), 1);
    EXPECT_EQ(listed(), std::vector<int32_t>{3});
    // Nor on the date of a clock the library cannot convert, 0-0-0.
    today.set(calendarDateOf(nullptr));
    EXPECT_EQ(collectTodaysBirthdays(), 0);
}

TEST_F(BirthdayListTest, ShorterRebuildLeavesStaleSlotsBehindTheTerminator) {
    host.contactCount = 4;
    for (int32_t row : {1, 2, 3}) birthday(row, 1990, 3, 9);
    ASSERT_EQ(collectTodaysBirthdays(), 3);
    birthday(1, 1990, 1, 1);
    birthday(3, 1990, 1, 1);
    EXPECT_EQ(collectTodaysBirthdays(), 1);
    EXPECT_EQ(listed(), std::vector<int32_t>{2});
    EXPECT_EQ(birthdayList().rows[1], 0);
    EXPECT_EQ(birthdayList().rows[2], 3);  // stale, behind the terminator
}

TEST_F(BirthdayListTest, ExaminesRowsZeroThroughNAskingTheCountBeforeEachRow) {
    host.contactCount = 3;
    collectTodaysBirthdays();
    std::vector<int32_t> readRows;
    int countRequests = 0;
    for (const HostCall& call : host.calls()) {
        if (call.isMessage(wire::REQ_CONTACT_COUNT)) {
            ++countRequests;
            EXPECT_EQ(call.recordWord(14), wire::TYPE_QUERY);
            EXPECT_EQ(call.recordWord(10), 0u);
        } else if (call.isRead(wire::CONTACT_TABLE, wire::CNT_BIRTH_DATE)) {
            readRows.push_back(call.row);
        }
    }
    EXPECT_EQ(countRequests, 5);  // N + 2
    EXPECT_EQ(readRows, (std::vector<int32_t>{0, 1, 2, 3}));
    // The count is asked before each read.
    EXPECT_TRUE(host.calls()[0].isMessage(wire::REQ_CONTACT_COUNT));
    EXPECT_TRUE(host.calls()[1].isRead(wire::CONTACT_TABLE, wire::CNT_BIRTH_DATE));
}

TEST_F(BirthdayListTest, CountChangingDuringTheWalkTakesEffectAtOnce) {
    for (int32_t row : {1, 2, 3, 4, 5}) birthday(row, 1990, 3, 9);
    int asked = 0;
    // 5 contacts at first; from the third question on, only 2.
    host.answer = [&asked](const HostCall& call) -> std::optional<uint32_t> {
        if (!call.isMessage(wire::REQ_CONTACT_COUNT)) return std::nullopt;
        return ++asked <= 2 ? 5u : 2u;
    };
    EXPECT_EQ(collectTodaysBirthdays(), 2);
    EXPECT_EQ(listed(), (std::vector<int32_t>{1, 2}));
}

TEST_F(BirthdayListTest, NegativeCountExaminesNoRow) {
    host.contactCount = -1;
    birthday(0, 1990, 3, 9);
    EXPECT_EQ(collectTodaysBirthdays(), 0);
    ASSERT_EQ(host.calls().size(), 1u);
    EXPECT_TRUE(host.calls()[0].isMessage(wire::REQ_CONTACT_COUNT));
}

TEST_F(BirthdayListTest, MatchOnRowZeroIsNeitherListedNorCounted) {
    host.contactCount = 2;
    birthday(0, 1990, 3, 9);
    birthday(2, 1990, 3, 9);
    EXPECT_EQ(collectTodaysBirthdays(), 1);
    EXPECT_EQ(listed(), std::vector<int32_t>{2});
}

TEST_F(BirthdayListTest, OnlyTheFirst254MatchesAreListedAndCounted) {
    host.contactCount = 400;
    for (int32_t row = 1; row <= 400; ++row) birthday(row, 1990, 3, 9);
    EXPECT_EQ(collectTodaysBirthdays(), BIRTHDAY_LIST_CAPACITY);
    const std::vector<int32_t> rows = listed();
    ASSERT_EQ(rows.size(), 254u);
    EXPECT_EQ(rows.front(), 1);
    EXPECT_EQ(rows.back(), 254);
    EXPECT_EQ(birthdayList().rows[254], 0);
    // The date behind the slots is untouched.
    expectTodaysDate();
}

TEST_F(BirthdayListTest, DateIsTakenOnceAtTheStartOfTheRebuild) {
    host.contactCount = 2;
    birthday(1, 1990, 3, 9);
    birthday(2, 1990, 3, 10);
    int asked = 0;
    // Midnight passes after the first row.
    host.answer = [&](const HostCall& call) -> std::optional<uint32_t> {
        if (call.isMessage(wire::REQ_CONTACT_COUNT) && ++asked == 2) today.set({2026, 3, 10});
        return std::nullopt;
    };
    EXPECT_EQ(collectTodaysBirthdays(), 1);
    EXPECT_EQ(listed(), std::vector<int32_t>{1});
    EXPECT_EQ(birthdayList().day, 9);
}

TEST_F(BirthdayListTest, ClockTheLibraryCannotConvertListsNobody) {
    const CalendarDate noDate = calendarDateOf(nullptr);
    EXPECT_EQ(noDate.month, 0);
    EXPECT_EQ(noDate.day, 0);
    today.set(noDate);
    host.contactCount = 2;
    host.setInt(wire::CONTACT_TABLE, 1, wire::CNT_BIRTH_DATE, 0);  // no birthday stored
    birthday(2, 1990, 0, 0);
    EXPECT_EQ(collectTodaysBirthdays(), 0);
}

TEST(CalendarDateOf, TakesYearMonthAndDayOfAConvertedTime) {
    std::tm local{};
    local.tm_year = 126;
    local.tm_mon = 2;
    local.tm_mday = 9;
    const CalendarDate date = calendarDateOf(&local);
    EXPECT_EQ(date.year, 2026);
    EXPECT_EQ(date.month, 3);
    EXPECT_EQ(date.day, 9);
}

TEST(LocalToday, WithoutAPinnedDateIsTheMachinesLocalDate) {
    const TodaySource pinned = replaceTodaySource(nullptr);
    // Read between two looks at the C library's clock, in case midnight passes.
    const auto fromLibrary = [] {
        const std::time_t now = std::time(nullptr);
        const std::tm* local = std::localtime(&now);
        return calendarDateOf(local);
    };
    const CalendarDate before = fromLibrary();
    const CalendarDate date = localToday();
    const CalendarDate after = fromLibrary();
    replaceTodaySource(pinned);

    const auto same = [](CalendarDate a, CalendarDate b) {
        return a.year == b.year && a.month == b.month && a.day == b.day;
    };
    EXPECT_TRUE(same(date, before) || same(date, after))
        << date.year << "-" << date.month << "-" << date.day << ", the library says " << before.year << "-"
        << before.month << "-" << before.day;
    EXPECT_NE(date.month, 0) << "the clock could not be read";
}

TEST(BirthDateCoding, DecodesTheThreeFields) {
    const PackedBirthDate date = decodeBirthDate(static_cast<int32_t>(0xFFFF0C1Fu));
    EXPECT_EQ(date.year, 65535u);
    EXPECT_EQ(date.month, 12);
    EXPECT_EQ(date.day, 31);
}

}  // namespace
}  // namespace vemora::testing
