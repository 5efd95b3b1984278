// Tells the user who has a birthday today.
#pragma once

#include <cstdint>

namespace vemora {

inline constexpr int32_t NOTICE_POPUP = 0;     // through the notifier plugin, with <b> markers
inline constexpr int32_t NOTICE_INFO_BOX = 1;  // in the host's information box

// Rebuilds today's list, writes each listed contact's age and shows the
// notice in the given mode (any other mode shows nothing). Always answers 1.
int32_t showBirthdayNotice(int32_t mode);

}  // namespace vemora
