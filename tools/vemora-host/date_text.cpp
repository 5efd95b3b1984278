#include "date_text.h"

#include "civil_date.h"

namespace vemora::standin {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int number(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

constexpr const char* MONTHS[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};

}  // namespace

bool hasIsoDateForm(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!isDigit(text[i])) return false;
    return true;
}

std::string whyNotADate(std::string_view text) {
    if (!hasIsoDateForm(text)) return "is not a date of the form YYYY-MM-DD";
    const int year = number(text.substr(0, 4));
    const int month = number(text.substr(5, 2));
    const int day = number(text.substr(8, 2));
    if (month < 1 || month > 12) return "is an impossible date: there is no month " + std::string(text.substr(5, 2));
    if (day < 1) return "is an impossible date: there is no day 00";
    return "is an impossible date: " + std::string(MONTHS[month - 1]) + " " + std::string(text.substr(0, 4)) +
           " has " + std::to_string(daysInMonth(year, month)) + " days";
}

}  // namespace vemora::standin
