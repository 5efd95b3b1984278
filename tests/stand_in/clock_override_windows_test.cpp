// "As if today were" on Windows: Vemora.dll's import of KERNEL32's
// GetLocalTime is pointed at the pinned clock while a date is pinned, and
// only then.
#include <gtest/gtest.h>
#include <windows.h>

#include "civil_date.h"
#include "clock_override.h"
#include "module_imports_windows.h"
#include "plugin_library.h"

namespace vemora::standin {
namespace {

using LocalTime = void(WINAPI*)(SYSTEMTIME*);

class PluginClock : public ::testing::Test {
protected:
    void TearDown() override { pinClock(std::nullopt); }

    // The one slot through which the library asks the system for the date.
    static void** clockSlot(const PluginLibrary& library) {
        const std::vector<void**> slots =
            findImportSlots(static_cast<HMODULE>(library.moduleHandle()), "kernel32.dll", "GetLocalTime");
        EXPECT_EQ(slots.size(), 1u);
        return slots.empty() ? nullptr : slots.front();
    }
    static void* systemClock() {
        return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetLocalTime"));
    }
    static SYSTEMTIME through(void** slot) {
        SYSTEMTIME now{};
        reinterpret_cast<LocalTime>(*slot)(&now);
        return now;
    }
    static CivilDate dateOf(const SYSTEMTIME& time) { return {time.wYear, time.wMonth, time.wDay}; }
};

TEST_F(PluginClock, NothingIsRedirectedWhileNoDateIsPinned) {
    const auto library = openPluginLibrary(VEMORA_SO_PATH);
    void** slot = clockSlot(*library);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(*slot, systemClock());
}

TEST_F(PluginClock, PinningRedirectsTheLoadedLibraryAndUnpinningRestoresIt) {
    const auto library = openPluginLibrary(VEMORA_SO_PATH);
    void** slot = clockSlot(*library);
    ASSERT_NE(slot, nullptr);

    ASSERT_TRUE(pinClock(CivilDate{2028, 2, 29}));
    ASSERT_NE(*slot, systemClock());
    const SYSTEMTIME leapDay = through(slot);
    EXPECT_EQ(dateOf(leapDay), (CivilDate{2028, 2, 29}));
    EXPECT_EQ(leapDay.wHour, 12);
    EXPECT_EQ(leapDay.wDayOfWeek, 2);  // a Tuesday

    ASSERT_TRUE(pinClock(CivilDate{2100, 12, 31}));  // a new date through the same redirection
    const SYSTEMTIME last = through(slot);
    EXPECT_EQ(dateOf(last), (CivilDate{2100, 12, 31}));
    EXPECT_EQ(last.wDayOfWeek, 5);  // a Friday

    pinClock(std::nullopt);
    EXPECT_EQ(*slot, systemClock());
}

TEST_F(PluginClock, ALibraryLoadedWhileADateIsPinnedIsRedirectedAtOnce) {
    ASSERT_TRUE(pinClock(CivilDate{2040, 3, 9}));
    const auto library = openPluginLibrary(VEMORA_SO_PATH);
    void** slot = clockSlot(*library);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(dateOf(through(slot)), (CivilDate{2040, 3, 9}));
}

TEST_F(PluginClock, ADateOutsideThePinnableRangeIsRefusedAndChangesNothing) {
    ASSERT_TRUE(pinClock(CivilDate{2026, 3, 9}));
    for (const CivilDate date : {CivilDate{2101, 1, 1}, CivilDate{1969, 12, 31}}) {
        EXPECT_FALSE(pinClock(date)) << formatIsoDate(date);
        EXPECT_EQ(pinnedDate(), (CivilDate{2026, 3, 9}));
        EXPECT_EQ(clockToday(), (CivilDate{2026, 3, 9}));
    }
}

}  // namespace
}  // namespace vemora::standin
