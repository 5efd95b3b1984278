// On Linux the plugin library calls the C library's time(). This file defines
// time() in the stand-in executable itself, and the executable exports it
// (see exported_symbols.list), so the dynamic linker binds the plugin's
// reference to this definition instead of the C library's: with no date
// pinned it reports the real clock, so nothing changes in real use.
#include <time.h>

#include "clock_override.h"

namespace vemora::standin {

namespace {

std::optional<CivilDate> pinned;
time_t pinnedMoment = 0;

time_t realNow() {
    struct timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return static_cast<time_t>(-1);
    return now.tv_sec;
}

}  // namespace

bool pinClock(std::optional<CivilDate> date) {
    if (!date) {
        pinned.reset();
        return true;
    }
    const std::optional<long long> moment = localNoon(*date);
    if (!moment) return false;
    pinned = date;
    pinnedMoment = static_cast<time_t>(*moment);
    return true;
}

std::optional<CivilDate> pinnedDate() { return pinned; }

CivilDate clockToday() {
    if (pinned) return *pinned;
    const time_t now = realNow();
    struct tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace vemora::standin

// The plugin's clock. Same signature as the C library's; must never throw.
extern "C" time_t time(time_t* out) noexcept {
    const time_t now = vemora::standin::pinnedDate() ? vemora::standin::pinnedMoment : vemora::standin::realNow();
    if (out != nullptr) *out = now;
    return now;
}
