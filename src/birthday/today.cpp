#include "birthday/today.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <ctime>
#endif

namespace vemora {

namespace {

// The machine's local date. On Windows straight from the system (KERNEL32,
// in every Windows), so no 32-bit clock of the C runtime can run out; on
// Linux from a 64-bit time_t (the build sets _TIME_BITS=64).
CalendarDate fromClock() {
#if defined(_WIN32)
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
#else
    static_assert(sizeof(std::time_t) == 8, "today's date needs a 64-bit time_t: build with _TIME_BITS=64");
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    return calendarDateOf(localtime_r(&now, &local));
#endif
}

constinit TodaySource todaySource = nullptr;

}  // namespace

CalendarDate calendarDateOf(const std::tm* local) {
    if (local == nullptr) return {0, 0, 0};
    return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}

CalendarDate localToday() { return todaySource != nullptr ? todaySource() : fromClock(); }

TodaySource replaceTodaySource(TodaySource source) {
    TodaySource previous = todaySource;
    todaySource = source;
    return previous;
}

}  // namespace vemora
