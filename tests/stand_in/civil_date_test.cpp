// Calendar dates as the stand-in reads, writes and packs them.
#include <gtest/gtest.h>

#include "civil_date.h"

namespace vemora::standin {
namespace {

TEST(CivilDate, ParsesOnlyRealDays) {
    EXPECT_EQ(parseIsoDate("2000-02-29"), (CivilDate{2000, 2, 29}));
    EXPECT_FALSE(parseIsoDate("1900-02-29"));
    EXPECT_FALSE(parseIsoDate("2026-04-31"));
    EXPECT_FALSE(parseIsoDate("2026-13-01"));
    EXPECT_FALSE(parseIsoDate("2026-3-09"));
    EXPECT_FALSE(parseIsoDate("2026-03-09 "));
    EXPECT_EQ(formatIsoDate({33, 1, 5}), "0033-01-05");
}

TEST(CivilDate, AddsDaysAcrossMonthsYearsAndLeapDays) {
    EXPECT_EQ(addDays({2028, 2, 28}, 1), (CivilDate{2028, 2, 29}));
    EXPECT_EQ(addDays({2027, 2, 28}, 1), (CivilDate{2027, 3, 1}));
    EXPECT_EQ(addDays({2026, 12, 31}, 1), (CivilDate{2027, 1, 1}));
    EXPECT_EQ(addDays({2026, 1, 1}, -1), (CivilDate{2025, 12, 31}));
    EXPECT_EQ(addDays({2026, 3, 9}, 365), (CivilDate{2027, 3, 9}));
}

TEST(CivilDate, PacksAsTheHostsBirthDateColumn) {
    EXPECT_EQ(packBirthDate({1996, 3, 9}), (1996 << 16) | (3 << 8) | 9);
    EXPECT_EQ(unpackBirthDate(packBirthDate({2000, 2, 29})), (CivilDate{2000, 2, 29}));
    EXPECT_FALSE(unpackBirthDate(0));
    EXPECT_FALSE(unpackBirthDate(packBirthDate({2001, 2, 29})));
}

}  // namespace
}  // namespace vemora::standin
