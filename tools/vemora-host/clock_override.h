// "As if today were": the plugin takes today's date from the C library's
// clock, so the stand-in pins that clock rather than touching the plugin.
#pragma once

#include <optional>

#include "civil_date.h"

namespace vemora::standin {

// Pins the clock to local noon of the date (noon keeps the day whatever the
// time zone's offset or daylight-saving change); nullopt lets the real clock
// run again. Returns false, changing nothing, when the moment cannot be
// represented (a 32-bit clock ends in January 2038).
bool pinClock(std::optional<CivilDate> date);
std::optional<CivilDate> pinnedDate();

// Seconds since 1970 at local noon of the date, as the C library's mktime
// gives them; nullopt when the library cannot represent that moment.
std::optional<long long> localNoon(const CivilDate& date);

// Today's local date as the plugin sees it: the pinned date or the real one.
CivilDate clockToday();

#ifdef _WIN32
// A library cannot take its clock from the executable on Windows: while a
// date is pinned, the plugin's own imports of the C runtime's clock are
// pointed at the pinned one. The plugin's library reports itself here once
// loaded (throws HostError when a pinned date cannot reach it) and before it
// is unloaded. With no date pinned nothing in it is changed.
void attachPluginClock(void* module);
void detachPluginClock(void* module);
#endif

}  // namespace vemora::standin
