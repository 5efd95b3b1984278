// The stand-in's one table of code page 1250, both ways, and how it shows a
// plugin text that holds what no character stands for.
#include <gtest/gtest.h>

#include "text.h"

namespace vemora::standin {
namespace {

TEST(Text, CodePage1250RoundTripsEveryCharacterAndRefusesTheRest) {
    int defined = 0;
    for (int byte = 0x01; byte <= 0xFF; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const std::optional<std::string> utf8 = cp1250ToUtf8(one);
        if (!utf8) {
            EXPECT_EQ(displayText(one), "\\x" + std::string(1, "0123456789ABCDEF"[byte >> 4]) +
                                            "0123456789ABCDEF"[byte & 15]);
            continue;
        }
        ++defined;
        EXPECT_EQ(utf8ToCp1250(*utf8), one) << byte;
    }
    EXPECT_EQ(defined, 255 - 5);  // 0x81, 0x83, 0x88, 0x90 and 0x98 stand for nothing
    EXPECT_EQ(cp1250ToUtf8("\xA5\xB9\xC6\xE6\xCA\xEA\xA3\xB3\xD1\xF1\xD3\xF3\x8C\x9C\x8F\x9F\xAF\xBF\x80\x84\x94"),
              "ĄąĆćĘęŁłŃńÓóŚśŹźŻż€„”");
    EXPECT_EQ(utf8ToCp1250("\xF0\x9F\x8E\x82"), std::nullopt);  // an emoji
    EXPECT_EQ(utf8ToCp1250("\xC3\x28"), std::nullopt);          // not UTF-8
    EXPECT_EQ(quotedText("a\"b\\c\nd\x01"), "\"a\\\"b\\\\c\\nd\\x01\"");
    EXPECT_TRUE(sameWordIgnoringCase("ŻÓŁW Łódź", "żółw łÓDŹ"));
    EXPECT_FALSE(sameWordIgnoringCase("Własna", "Wlasna"));
}

TEST(Text, DatesAreRealDaysOrSayWhyNot) {
    EXPECT_EQ(parseIsoDate("2028-02-29"), CivilDate(std::chrono::year{2028}, std::chrono::February, std::chrono::day{29}));
    EXPECT_EQ(whyNotADate("2027-02-29"), "is an impossible date: February 2027 has 28 days");
    EXPECT_EQ(whyNotADate("2027-13-01"), "is an impossible date: there is no month 13");
    EXPECT_EQ(whyNotADate("2027-01-00"), "is an impossible date: there is no day 00");
    EXPECT_EQ(whyNotADate("9.3.2027"), "is not a date of the form YYYY-MM-DD");
    const CivilDate day{std::chrono::year{1996}, std::chrono::March, std::chrono::day{9}};
    EXPECT_EQ(packBirthDate(day), 0x07CC0309);
    EXPECT_EQ(unpackBirthDate(0x07CC0309), day);
    EXPECT_EQ(unpackBirthDate(0x07CC0300), std::nullopt);  // a month without a day
}

}  // namespace
}  // namespace vemora::standin
