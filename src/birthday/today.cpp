#include "birthday/today.h"

#include <ctime>

namespace vemora {

namespace {

CalendarDate fromClock() {
    const std::time_t now = std::time(nullptr);
#if defined(_WIN32)
    return calendarDateOf(std::localtime(&now));  // msvcrt keeps the buffer per thread
#else
    std::tm local{};
    return calendarDateOf(localtime_r(&now, &local));
#endif
}

TodaySource todaySource = nullptr;

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
