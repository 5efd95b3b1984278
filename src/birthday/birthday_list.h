// Today's list of contacts with a birthday, rebuilt from the host's contact
// table. One library-wide list: the notice and the buttons rebuild it, wish
// sending walks it as the last rebuild left it.
#pragma once

#include <cstdint>

namespace vemora {

inline constexpr int BIRTHDAY_LIST_SLOTS = 255;
// One slot always holds the terminating 0.
inline constexpr int BIRTHDAY_LIST_CAPACITY = BIRTHDAY_LIST_SLOTS - 1;

struct BirthdayList {
    int32_t rows[BIRTHDAY_LIST_SLOTS];  // contact rows in ascending order, ended by 0
    int32_t year;                       // the date of the last rebuild
    int32_t month;
    int32_t day;
};

static_assert(sizeof(BirthdayList) == (BIRTHDAY_LIST_SLOTS + 3) * 4);

const BirthdayList& birthdayList();

// Rebuilds the list for today's local date and returns how many contacts were
// listed. At most BIRTHDAY_LIST_CAPACITY are listed, in row order; a match on
// row 0 cannot be listed (0 ends the list) and is not counted.
int32_t collectTodaysBirthdays();

// Back to the state at load: an empty list and no date.
void resetBirthdayList();

}  // namespace vemora
