// "As if today were" on Windows: Vemora.dll's import of msvcrt's time() is
// pointed at the pinned clock while a date is pinned, and only then.
#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>

#include "civil_date.h"
#include "clock_override.h"
#include "module_imports_windows.h"
#include "plugin_library.h"

namespace vemora::standin {
namespace {

using Time32 = __time32_t(__cdecl*)(__time32_t*);

class PluginClock : public ::testing::Test {
protected:
    void TearDown() override { pinClock(std::nullopt); }

    // The one slot through which the library calls the runtime's time().
    static void** timeSlot(const PluginLibrary& library) {
        const std::vector<void**> slots =
            findImportSlots(static_cast<HMODULE>(library.moduleHandle()), "msvcrt.dll", "time");
        EXPECT_EQ(slots.size(), 1u);
        return slots.empty() ? nullptr : slots.front();
    }
    static void* runtimeTime() {
        return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"msvcrt.dll"), "time"));
    }
    static CivilDate localDateOf(__time32_t moment, int* hour = nullptr) {
        const __time64_t wide = moment;
        struct tm local{};
        _localtime64_s(&local, &wide);
        if (hour != nullptr) *hour = local.tm_hour;
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    }
};

TEST_F(PluginClock, NothingIsRedirectedWhileNoDateIsPinned) {
    const auto library = openPluginLibrary(VEMORA_SO_PATH);
    void** slot = timeSlot(*library);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(*slot, runtimeTime());
}

TEST_F(PluginClock, PinningRedirectsTheLoadedLibraryAndUnpinningRestoresIt) {
    const auto library = openPluginLibrary(VEMORA_SO_PATH);
    void** slot = timeSlot(*library);
    ASSERT_NE(slot, nullptr);

    ASSERT_TRUE(pinClock(CivilDate{2028, 2, 29}));
    ASSERT_NE(*slot, runtimeTime());
    __time32_t viaPointer = 0;
    const __time32_t now = reinterpret_cast<Time32>(*slot)(&viaPointer);
    EXPECT_EQ(viaPointer, now);
    int hour = 0;
    EXPECT_EQ(localDateOf(now, &hour), (CivilDate{2028, 2, 29}));
    EXPECT_EQ(hour, 12);

    ASSERT_TRUE(pinClock(CivilDate{2026, 3, 9}));  // a new date through the same redirection
    EXPECT_EQ(localDateOf(reinterpret_cast<Time32>(*slot)(nullptr)), (CivilDate{2026, 3, 9}));

    pinClock(std::nullopt);
    EXPECT_EQ(*slot, runtimeTime());
}

TEST_F(PluginClock, ALibraryLoadedWhileADateIsPinnedIsRedirectedAtOnce) {
    ASSERT_TRUE(pinClock(CivilDate{2030, 12, 31}));
    const auto library = openPluginLibrary(VEMORA_SO_PATH);
    void** slot = timeSlot(*library);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(localDateOf(reinterpret_cast<Time32>(*slot)(nullptr)), (CivilDate{2030, 12, 31}));
}

TEST_F(PluginClock, ADateBeyondThe32BitClockIsRefusedAndChangesNothing) {
    ASSERT_TRUE(pinClock(CivilDate{2026, 3, 9}));
    EXPECT_FALSE(pinClock(CivilDate{2040, 1, 1}));
    EXPECT_EQ(pinnedDate(), (CivilDate{2026, 3, 9}));
    EXPECT_EQ(clockToday(), (CivilDate{2026, 3, 9}));
}

}  // namespace
}  // namespace vemora::standin
