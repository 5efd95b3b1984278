#include "date_text.h"

#include <optional>

#include "civil_date.h"

namespace vemora::standin {

namespace {

constexpr const char* MONTHS[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};

}  // namespace

std::string whyNotADate(std::string_view text) {
    const std::optional<CivilDate> numbers = parseIsoDateForm(text);
    if (!numbers) return "is not a date of the form YYYY-MM-DD";
    if (numbers->month < 1 || numbers->month > 12) {
        return "is an impossible date: there is no month " + std::string(text.substr(5, 2));
    }
    if (numbers->day < 1) return "is an impossible date: there is no day 00";
    return "is an impossible date: " + std::string(MONTHS[numbers->month - 1]) + " " +
           std::string(text.substr(0, 4)) + " has " + std::to_string(daysInMonth(numbers->year, numbers->month)) +
           " days";
}

}  // namespace vemora::standin
