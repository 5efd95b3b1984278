// Calendar dates as the stand-in handles them: "YYYY-MM-DD" in its input and
// output, and the host's packed birth-date column (year in bits 31-16, month
// in 15-8, day in 7-0).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vemora::standin {

struct CivilDate {
    int year = 0;   // 0 to 9999
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to the month's length

    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);

// Exactly "YYYY-MM-DD" naming a real day (29 February only in leap years).
std::optional<CivilDate> parseIsoDate(std::string_view text);
// The numbers of a text of the form YYYY-MM-DD, whether or not they name a
// real day.
std::optional<CivilDate> parseIsoDateForm(std::string_view text);
std::string formatIsoDate(const CivilDate& date);

// The date `days` days later (earlier when negative).
CivilDate addDays(const CivilDate& date, int days);

int32_t packBirthDate(const CivilDate& date);
// The date a packed value holds, when its month and day name a real day.
std::optional<CivilDate> unpackBirthDate(int32_t packed);

}  // namespace vemora::standin
