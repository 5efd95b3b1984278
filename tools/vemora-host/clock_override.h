// "As if today were": the plugin takes today's date from the system (the C
// library's time() on Linux, KERNEL32's GetLocalTime on Windows), so the
// stand-in pins that clock rather than touching the plugin.
#pragma once

#include <optional>
#include <string>

#include "civil_date.h"

namespace vemora::standin {

// The dates the pinned clock shows, on both builds: from the start of the
// clock (1970) to the end of 2100.
inline constexpr CivilDate FIRST_PINNABLE_DATE{1970, 1, 1};
inline constexpr CivilDate LAST_PINNABLE_DATE{2100, 12, 31};
constexpr bool isPinnable(const CivilDate& date) {
    auto key = [](const CivilDate& d) { return (d.year * 100 + d.month) * 100 + d.day; };
    return key(date) >= key(FIRST_PINNABLE_DATE) && key(date) <= key(LAST_PINNABLE_DATE);
}

// What to tell the user when pinClock refused the date.
inline std::string whyNotPinned(const CivilDate& date) {
    if (!isPinnable(date)) {
        return formatIsoDate(date) + " is outside the dates the plugin's clock can show (" +
               formatIsoDate(FIRST_PINNABLE_DATE) + " to " + formatIsoDate(LAST_PINNABLE_DATE) + ")";
    }
    return "the plugin's clock cannot show " + formatIsoDate(date);
}

// Pins the clock to local noon of the date (noon keeps the day whatever the
// time zone's offset or daylight-saving change); nullopt lets the real clock
// run again. Returns false, changing nothing, for a date outside the
// pinnable range or one the system cannot represent.
bool pinClock(std::optional<CivilDate> date);
std::optional<CivilDate> pinnedDate();

// Today's local date as the plugin sees it: the pinned date or the real one.
CivilDate clockToday();

#ifdef _WIN32
// A library cannot take its clock from the executable on Windows: while a
// date is pinned, the plugin's own import of GetLocalTime is pointed at the
// pinned one. The plugin's library reports itself here once
// loaded (throws HostError when a pinned date cannot reach it) and before it
// is unloaded. With no date pinned nothing in it is changed.
void attachPluginClock(void* module);
void detachPluginClock(void* module);
#endif

}  // namespace vemora::standin
