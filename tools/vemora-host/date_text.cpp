#include "date_text.h"

#include <cstdio>
#include <optional>

namespace vemora::standin {

namespace {

constexpr const char* MONTHS[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

std::string whyNotADate(std::string_view text) {
    const std::optional<CivilDate> numbers = parseIsoDateForm(text);
    if (!numbers) return "is not a date of the form YYYY-MM-DD";
    return whyImpossible(*numbers);
}

std::string whyImpossible(const CivilDate& numbers) {
    if (numbers.month < 1 || numbers.month > 12) {
        return "is an impossible date: there is no month " + twoDigits(numbers.month);
    }
    if (numbers.day < 1) return "is an impossible date: there is no day 00";
    char year[16];
    std::snprintf(year, sizeof year, "%04d", numbers.year);
    return "is an impossible date: " + std::string(MONTHS[numbers.month - 1]) + " " + year + " has " +
           std::to_string(daysInMonth(numbers.year, numbers.month)) + " days";
}

}  // namespace vemora::standin
