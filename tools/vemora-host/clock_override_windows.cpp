// On Windows the plugin calls msvcrt.dll's time() through its import address
// table. While a date is pinned, that table's clock slots (time, _time32,
// _time64) hold this file's functions instead; unpinning or unloading puts
// the runtime's back. Nothing outside the plugin's module is touched.
#include <windows.h>

#include <climits>
#include <ctime>
#include <vector>

#include "clock_override.h"
#include "host_error.h"
#include "module_imports_windows.h"

namespace vemora::standin {

namespace {

std::optional<CivilDate> pinned;
__time64_t pinnedMoment = 0;

__time32_t __cdecl pinnedTime32(__time32_t* out) {
    const auto now = static_cast<__time32_t>(pinnedMoment);  // pinClock keeps it within 32 bits
    if (out != nullptr) *out = now;
    return now;
}

__time64_t __cdecl pinnedTime64(__time64_t* out) {
    if (out != nullptr) *out = pinnedMoment;
    return pinnedMoment;
}

struct ClockImport {
    const char* function;
    void* replacement;
};
// 32-bit msvcrt.dll's time() is the 32-bit clock.
const ClockImport CLOCK_IMPORTS[] = {{"time", reinterpret_cast<void*>(&pinnedTime32)},
                                     {"_time32", reinterpret_cast<void*>(&pinnedTime32)},
                                     {"_time64", reinterpret_cast<void*>(&pinnedTime64)}};
const char* const RUNTIMES[] = {"msvcrt.dll", "ucrtbase.dll", "api-ms-win-crt-time-l1-1-0.dll"};

struct Redirection {
    void** slot;
    void* original;
};

HMODULE plugin = nullptr;
std::vector<Redirection> redirections;

bool redirectPlugin() {
    if (plugin == nullptr || !redirections.empty()) return true;
    for (const char* runtime : RUNTIMES) {
        for (const ClockImport& import : CLOCK_IMPORTS) {
            for (void** slot : findImportSlots(plugin, runtime, import.function)) {
                void* original = nullptr;
                if (writeImportSlot(slot, import.replacement, &original)) redirections.push_back({slot, original});
            }
        }
    }
    return !redirections.empty();
}

void restorePlugin() {
    for (const Redirection& redirection : redirections) {
        void* ignored = nullptr;
        writeImportSlot(redirection.slot, redirection.original, &ignored);
    }
    redirections.clear();
}

}  // namespace

bool pinClock(std::optional<CivilDate> date) {
    if (!date) {
        pinned.reset();
        restorePlugin();
        return true;
    }
    const std::optional<long long> moment = localNoon(*date);
    // The plugin's clock is 32 bits wide, as on the Linux build: it ends in January 2038.
    if (!moment || *moment < 0 || *moment > INT32_MAX) return false;
    const std::optional<CivilDate> before = pinned;
    const __time64_t momentBefore = pinnedMoment;
    pinned = date;
    pinnedMoment = *moment;
    if (!redirectPlugin()) {
        pinned = before;
        pinnedMoment = momentBefore;
        return false;
    }
    return true;
}

std::optional<CivilDate> pinnedDate() { return pinned; }

CivilDate clockToday() {
    if (pinned) return *pinned;
    const __time64_t now = _time64(nullptr);
    struct tm local{};
    _localtime64_s(&local, &now);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

void attachPluginClock(void* module) {
    restorePlugin();
    plugin = static_cast<HMODULE>(module);
    if (pinned && !redirectPlugin()) {
        plugin = nullptr;
        throw HostError("cannot pin the plugin's clock: the library imports no time function of the C runtime");
    }
}

void detachPluginClock(void* module) {
    if (plugin != static_cast<HMODULE>(module)) return;
    restorePlugin();
    plugin = nullptr;
}

}  // namespace vemora::standin
