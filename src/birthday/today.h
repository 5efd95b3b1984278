// Where today's local date comes from. In the plugin it is the machine's
// local date (GetLocalTime on Windows, the C library's clock on Linux); tests
// swap the source to pin a date. The host never sees the seam: it is not
// reachable through IMessageProc.
#pragma once

#include <ctime>

#include "birthday/calendar_date.h"

namespace vemora {

CalendarDate localToday();

// The date of a converted local time (the Linux clock's path). A time the C
// library cannot convert gives the date 0-0-0, on which no birthday falls.
CalendarDate calendarDateOf(const std::tm* local);

using TodaySource = CalendarDate (*)();
// Replaces the source of today's date and returns the previous one; null
// restores the clock.
TodaySource replaceTodaySource(TodaySource source);

}  // namespace vemora
