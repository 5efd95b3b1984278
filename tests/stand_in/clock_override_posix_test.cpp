// "As if today were" on Linux: the time() the stand-in executable gives the
// plugin library, a 64-bit clock like the plugin's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "civil_date.h"
#include "clock_override.h"

namespace vemora::standin {
namespace {

class ClockOverride : public ::testing::Test {
protected:
    void TearDown() override {
        pinClock(std::nullopt);
        if (savedZone) {
            setenv("TZ", savedZone->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    void useZone(const char* zone) {
        if (!savedZone && std::getenv("TZ") != nullptr) savedZone = std::getenv("TZ");
        setenv("TZ", zone, 1);
        tzset();
    }
    static CivilDate localDateOf(time_t moment) {
        struct tm local{};
        localtime_r(&moment, &local);
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    }
    std::optional<std::string> savedZone;
};

TEST_F(ClockOverride, PinnedDateIsLocalNoonOfThatDayInAnyZone) {
    // Zones far east and west of UTC, and one that skips a day's hour for summer time.
    for (const char* zone : {"UTC0", "<+14>-14", "<-12>12", "CET-1CEST,M3.5.0,M10.5.0/3"}) {
        useZone(zone);
        for (const CivilDate date : {CivilDate{2026, 3, 9}, CivilDate{2026, 3, 29}, CivilDate{2028, 2, 29},
                                     CivilDate{1970, 1, 2}, CivilDate{2037, 12, 31}, CivilDate{2038, 1, 19},
                                     CivilDate{2040, 2, 29}, CivilDate{2100, 12, 31}}) {
            ASSERT_TRUE(pinClock(date)) << zone;
            time_t viaPointer = 0;
            const time_t now = time(&viaPointer);
            EXPECT_EQ(viaPointer, now);
            EXPECT_EQ(localDateOf(now), date) << zone << " " << formatIsoDate(date);
            struct tm local{};
            localtime_r(&now, &local);
            EXPECT_EQ(local.tm_hour, 12) << zone;
            EXPECT_EQ(clockToday(), date);
        }
    }
}

TEST_F(ClockOverride, UnpinnedClockIsTheRealOne) {
    pinClock(CivilDate{2001, 1, 1});
    pinClock(std::nullopt);
    struct timespec real{};
    clock_gettime(CLOCK_REALTIME, &real);
    EXPECT_LE(std::labs(static_cast<long>(time(nullptr) - real.tv_sec)), 2L);
    EXPECT_FALSE(pinnedDate());
}

TEST_F(ClockOverride, ADateOutsideThePinnableRangeChangesNothing) {
    ASSERT_TRUE(pinClock(CivilDate{2026, 3, 9}));
    for (const CivilDate date : {CivilDate{2101, 1, 1}, CivilDate{1969, 12, 31}, CivilDate{9999, 12, 31}}) {
        EXPECT_FALSE(pinClock(date)) << formatIsoDate(date);
        EXPECT_EQ(pinnedDate(), (CivilDate{2026, 3, 9}));
        EXPECT_EQ(clockToday(), (CivilDate{2026, 3, 9}));
    }
}

}  // namespace
}  // namespace vemora::standin
