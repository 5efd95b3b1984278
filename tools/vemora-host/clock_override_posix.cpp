// On Linux the plugin library calls the C library's time(), which with a
// 64-bit time_t is the symbol __time64. This file defines time() in the
// stand-in executable itself (built with the same time_t, so it too is
// __time64), and the executable exports it (see exported_symbols.list), so the
// dynamic linker binds the plugin's reference to this definition instead of
// the C library's: with no date pinned it reports the real clock, so nothing
// changes in real use.
#include <time.h>

#include "clock_override.h"

namespace vemora::standin {

namespace {

std::optional<CivilDate> pinned;
time_t pinnedMoment = 0;

// Seconds since 1970 at local noon of the date, as mktime gives them; nullopt
// when the C library cannot represent that moment.
std::optional<time_t> localNoon(const CivilDate& date) {
    struct tm noon{};
    noon.tm_year = date.year - 1900;
    noon.tm_mon = date.month - 1;
    noon.tm_mday = date.day;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const time_t moment = mktime(&noon);
    // mktime normalises what it cannot take; a different day means failure.
    if (moment == static_cast<time_t>(-1) || noon.tm_year != date.year - 1900 || noon.tm_mon != date.month - 1 ||
        noon.tm_mday != date.day) {
        return std::nullopt;
    }
    return moment;
}

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
    if (!isPinnable(*date)) return false;
    const std::optional<time_t> moment = localNoon(*date);
    if (!moment) return false;
    pinned = date;
    pinnedMoment = *moment;
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
static_assert(sizeof(time_t) == 8, "the plugin reads a 64-bit clock: build with _TIME_BITS=64");
extern "C" time_t time(time_t* out) noexcept {
    const time_t now = vemora::standin::pinnedDate() ? vemora::standin::pinnedMoment : vemora::standin::realNow();
    if (out != nullptr) *out = now;
    return now;
}
