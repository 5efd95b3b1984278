#include "birthday/birthday_list.h"

#include <cstring>

#include "birthday/calendar_date.h"
#include "birthday/today.h"
#include "host/host_control.h"
#include "host/host_link.h"
#include "host/tables.h"

namespace vemora {

namespace {

constinit BirthdayList todaysList{};

int32_t contactCount() {
    return static_cast<int32_t>(sendRequest(REQ_CONTACT_COUNT, HOST_NET, TYPE_QUERY, 0, 0));
}

}  // namespace

const BirthdayList& birthdayList() { return todaysList; }

int32_t collectTodaysBirthdays() {
    // Built aside and put in place at the end: the host may call in again
    // during one of the requests below and rebuild the list itself, and
    // neither rebuild may then find the other's rows half written.
    BirthdayList rebuilt = todaysList;
    const CalendarDate today = localToday();
    rebuilt.year = today.year;
    rebuilt.month = today.month;
    rebuilt.day = today.day;

    int32_t found = 0;
    // The host may add or remove contacts while we walk, so the count is asked
    // anew before every row; rows 0 through N inclusive are examined.
    // The row counter is wider than a row number so that a host claiming
    // 2147483647 contacts ends the walk after its last row instead of
    // overflowing into negative rows.
    for (int64_t row = 0; row <= contactCount(); ++row) {
        const auto contact = static_cast<int32_t>(row);
        if (!isBirthdayOn(getContactInt(contact, CNT_BIRTH_DATE), today)) continue;
        // Row 0 would read as the end of the list, so it cannot be listed.
        if (contact == 0 || found == BIRTHDAY_LIST_CAPACITY) continue;
        rebuilt.rows[found++] = contact;
        // Once full, the walk goes on only so the host sees the usual reads.
    }
    rebuilt.rows[found] = 0;
    todaysList = rebuilt;
    return found;
}

void resetBirthdayList() { std::memset(&todaysList, 0, sizeof todaysList); }

}  // namespace vemora
