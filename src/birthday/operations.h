// The two things the plugin does for the user: tell who has a birthday today,
// and send each of them a wish.
#pragma once

#include <cstdint>

#include "host/tables.h"

namespace vemora {

// How the notice is shown: the values of CFG_INFO_MODE.
inline constexpr int32_t NOTICE_POPUP = INFO_MODE_POPUP;        // the notifier's popup, with <b> markers
inline constexpr int32_t NOTICE_INFO_BOX = INFO_MODE_INFO_BOX;  // the host's information box

// Rebuilds today's list, writes each listed contact's age and shows the
// notice in the given mode (any other mode shows nothing).
void showBirthdayNotice(int32_t mode);

// Sends each contact of today's list, as the last rebuild left it, the wish
// its CNT_WISH_MODE chooses.
void sendWishes();

}  // namespace vemora
