// What the stand-in needs of the system it runs on, one file per system:
// platform_posix.cpp (vemora.so with dlopen) and platform_windows.cpp
// (Vemora.dll with LoadLibrary), chosen by the build.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "text.h"
#include "wire/records.h"

namespace vemora::standin {

// The plugin's library as the system loads it: its one entry point and its
// module handle (what getPluginModule answers).
class PluginLibrary {
public:
    virtual ~PluginLibrary() = default;
    virtual wire::MessageProc entryPoint() const = 0;
    virtual void* moduleHandle() const = 0;
};

// Throws HostError "cannot load the plugin PATH: REASON" when the library
// does not load or has no IMessageProc, in those words on both systems.
std::unique_ptr<PluginLibrary> openPluginLibrary(const std::string& path);
// The plugin library that lies beside the stand-in's own executable.
std::string defaultPluginPath();

// "As if today were": the plugin takes the date from the system (the C
// library's time() on Linux, KERNEL32's GetLocalTime on Windows); the
// stand-in pins that clock to local noon of a day (noon keeps the day in
// every time zone) rather than touching the plugin. nullopt lets the real
// clock run again. False, changing nothing, for a date outside
// 1970-01-01 to 2100-12-31 or one the system cannot show.
bool pinClock(std::optional<CivilDate> date);
std::optional<CivilDate> pinnedDate();
// Today as the plugin sees it: the pinned date or the real one.
CivilDate clockToday();
inline constexpr CivilDate FIRST_PINNABLE_DATE{std::chrono::year{1970}, std::chrono::January, std::chrono::day{1}};
inline constexpr CivilDate LAST_PINNABLE_DATE{std::chrono::year{2100}, std::chrono::December, std::chrono::day{31}};
constexpr bool isPinnable(const CivilDate& date) {
    return date >= FIRST_PINNABLE_DATE && date <= LAST_PINNABLE_DATE;
}
// What to tell the user when pinClock refused the date.
inline std::string whyNotPinned(const CivilDate& date) {
    if (!isPinnable(date)) {
        return formatIsoDate(date) + " is outside the dates the plugin's clock can show (" +
               formatIsoDate(FIRST_PINNABLE_DATE) + " to " + formatIsoDate(LAST_PINNABLE_DATE) + ")";
    }
    return "the plugin's clock cannot show " + formatIsoDate(date);
}

// Standard streams carry bytes as written (no CR LF on Windows), and a write
// to a pipe whose reader has gone fails instead of ending the process.
void prepareStandardStreams();
bool standardInputIsTerminal();
// The program's arguments after its name, in UTF-8.
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace vemora::standin
