#include <ctime>

#include "clock_override.h"

namespace vemora::standin {

std::optional<long long> localNoon(const CivilDate& date) {
    std::tm noon{};
    noon.tm_year = date.year - 1900;
    noon.tm_mon = date.month - 1;
    noon.tm_mday = date.day;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const std::time_t moment = std::mktime(&noon);
    // mktime normalises what it cannot take; a different day means failure.
    if (moment == static_cast<std::time_t>(-1) || noon.tm_year != date.year - 1900 ||
        noon.tm_mon != date.month - 1 || noon.tm_mday != date.day) {
        return std::nullopt;
    }
    return static_cast<long long>(moment);
}

}  // namespace vemora::standin
