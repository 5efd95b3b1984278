// Calendar dates: today's local date and the host's packed birthday column.
#pragma once

#include <cstdint>

namespace vemora {

struct CalendarDate {
    int32_t year;   // in full, e.g. 2004
    int32_t month;  // 1 to 12
    int32_t day;    // 1 to 31
};

// The host packs a birthday as year in bits 31-16, month in 15-8, day in 7-0.
struct PackedBirthDate {
    uint32_t year;  // 0 to 65535
    int32_t month;
    int32_t day;
};

inline PackedBirthDate decodeBirthDate(int32_t packed) {
    const uint32_t bits = static_cast<uint32_t>(packed);
    return {bits >> 16, static_cast<int32_t>((bits & 0xFF00u) >> 8), static_cast<int32_t>(bits & 0xFFu)};
}

inline int32_t encodeBirthDate(uint32_t year, uint32_t month, uint32_t day) {
    return static_cast<int32_t>((year << 16) | ((month & 0xFFu) << 8) | (day & 0xFFu));
}

// A birthday falls on a date when month and day agree; the year never counts,
// so 29 February matches only in leap years.
// A birth date without a month or a day (0, an unset cell) is on no date.
inline bool isBirthdayOn(int32_t packed, const CalendarDate& date) {
    const PackedBirthDate birth = decodeBirthDate(packed);
    return birth.month != 0 && birth.day != 0 && birth.month == date.month && birth.day == date.day;
}

// The age a contact reaches in the given year: that year minus the birth
// year, negative when the stored birth year lies in the future.
inline int32_t ageReachedIn(int32_t packed, int32_t year) {
    return year - static_cast<int32_t>(decodeBirthDate(packed).year);
}

}  // namespace vemora
