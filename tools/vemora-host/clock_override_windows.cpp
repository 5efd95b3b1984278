// On Windows the plugin reads today's date with KERNEL32's GetLocalTime,
// through its import address table. While a date is pinned, that table's
// GetLocalTime slot holds this file's function instead; unpinning or
// unloading puts the system's back. Nothing outside the plugin's module is
// touched.
#include <windows.h>

#include <vector>

#include "clock_override.h"
#include "host_error.h"
#include "module_imports_windows.h"

namespace vemora::standin {

namespace {

std::optional<CivilDate> pinned;

// 0 Sunday to 6 Saturday, as SYSTEMTIME counts them.
WORD dayOfWeek(const CivilDate& date) {
    static const int MONTH_OFFSETS[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int year = date.month < 3 ? date.year - 1 : date.year;
    return static_cast<WORD>((year + year / 4 - year / 100 + year / 400 + MONTH_OFFSETS[date.month - 1] + date.day) % 7);
}

// Local noon of the pinned date.
void WINAPI pinnedLocalTime(SYSTEMTIME* now) {
    if (now == nullptr || !pinned) return;
    *now = SYSTEMTIME{};
    now->wYear = static_cast<WORD>(pinned->year);
    now->wMonth = static_cast<WORD>(pinned->month);
    now->wDay = static_cast<WORD>(pinned->day);
    now->wDayOfWeek = dayOfWeek(*pinned);
    now->wHour = 12;
}

struct Redirection {
    void** slot;
    void* original;
};

HMODULE plugin = nullptr;
std::vector<Redirection> redirections;

bool redirectPlugin() {
    if (plugin == nullptr || !redirections.empty()) return true;
    for (void** slot : findImportSlots(plugin, "kernel32.dll", "GetLocalTime")) {
        void* original = nullptr;
        if (writeImportSlot(slot, reinterpret_cast<void*>(&pinnedLocalTime), &original)) {
            redirections.push_back({slot, original});
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
    if (!isPinnable(*date)) return false;
    const std::optional<CivilDate> before = pinned;
    pinned = date;
    if (!redirectPlugin()) {
        pinned = before;
        return false;
    }
    return true;
}

std::optional<CivilDate> pinnedDate() { return pinned; }

CivilDate clockToday() {
    if (pinned) return *pinned;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

void attachPluginClock(void* module) {
    restorePlugin();
    plugin = static_cast<HMODULE>(module);
    if (pinned && !redirectPlugin()) {
        plugin = nullptr;
        throw HostError("cannot pin the plugin's clock: the library does not import GetLocalTime");
    }
}

void detachPluginClock(void* module) {
    if (plugin != static_cast<HMODULE>(module)) return;
    restorePlugin();
    plugin = nullptr;
}

}  // namespace vemora::standin
