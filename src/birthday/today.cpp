#include "birthday/today.h"

#include <ctime>

namespace vemora {

namespace {

CalendarDate fromClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    local = *std::localtime(&now);  // msvcrt keeps the buffer per thread
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

TodaySource todaySource = nullptr;

}  // namespace

CalendarDate localToday() { return todaySource != nullptr ? todaySource() : fromClock(); }

TodaySource replaceTodaySource(TodaySource source) {
    TodaySource previous = todaySource;
    todaySource = source;
    return previous;
}

}  // namespace vemora
