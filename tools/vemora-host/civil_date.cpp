#include "civil_date.h"

#include <cstdio>

namespace vemora::standin {

namespace {

// Days since 1970-01-01 in the proleptic Gregorian calendar, and back.
int64_t daysFromCivil(const CivilDate& date) {
    const int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate civilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

bool digitsAt(std::string_view text, size_t from, size_t count, int& value) {
    value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

std::optional<CivilDate> parseIsoDateForm(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    CivilDate date;
    if (!digitsAt(text, 0, 4, date.year) || !digitsAt(text, 5, 2, date.month) || !digitsAt(text, 8, 2, date.day)) {
        return std::nullopt;
    }
    return date;
}

std::optional<CivilDate> parseIsoDate(std::string_view text) {
    const std::optional<CivilDate> date = parseIsoDateForm(text);
    if (!date || date->day < 1 || date->day > daysInMonth(date->year, date->month)) return std::nullopt;
    return date;
}

std::string formatIsoDate(const CivilDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

CivilDate addDays(const CivilDate& date, int days) { return civilFromDays(daysFromCivil(date) + days); }

int32_t packBirthDate(const CivilDate& date) {
    return static_cast<int32_t>((static_cast<uint32_t>(date.year) << 16) | (static_cast<uint32_t>(date.month) << 8) |
                                static_cast<uint32_t>(date.day));
}

std::optional<CivilDate> unpackBirthDate(int32_t packed) {
    const uint32_t bits = static_cast<uint32_t>(packed);
    const CivilDate date{static_cast<int>(bits >> 16), static_cast<int>((bits >> 8) & 0xFFu),
                         static_cast<int>(bits & 0xFFu)};
    if (date.year > 9999 || date.day < 1 || date.day > daysInMonth(date.year, date.month)) return std::nullopt;
    return date;
}

}  // namespace vemora::standin
