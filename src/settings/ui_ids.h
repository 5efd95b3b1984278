// Fixed ids of the plugin's user interface: where its elements hang, what
// they are called and the status bits the plugin sets (icons: icon_ids.h).
#pragma once

#include <cstdint>

#include "settings/icon_ids.h"

namespace vemora {

// Parents that belong to the host.
inline constexpr uint32_t UI_PARENT_CONTACT_INFO = 71;  // the contact's information window
inline constexpr uint32_t UI_PARENT_SETTINGS = 46;      // the host's settings window

// The plugin's own elements. UI ids are a name space apart from column ids:
// 139034 is both the birthdays button and the notifier-hiding column.
inline constexpr uint32_t ACT_CONTACT_GROUP = 139020;       // group in the contact's information window
inline constexpr uint32_t ACT_CONTACT_WISH_MODE = 139032;   // radio list: default, own, no wishes
inline constexpr uint32_t ACT_CONTACT_WISH_TEXT = 139031;   // text field of the contact's own template
inline constexpr uint32_t ACT_SETTINGS_GROUP = 139017;      // page in the settings window
inline constexpr uint32_t ACT_BIRTHDAYS_BUTTON = 139034;    // "Kto obchodzi urodziny?"
inline constexpr uint32_t ACT_SEND_WISHES_BUTTON = 139027;  // "Roześlij życzenia!"

// Status bits whose meaning the plugin relies on; every other bit it sends is
// passed through as given.
inline constexpr uint32_t STATUS_INACTIVE = 0x1;        // a button while nobody has a birthday
inline constexpr uint32_t STATUS_DISABLED = 0x2;        // the own-template field unless "Własna" is chosen
inline constexpr uint32_t STATUS_GROUP = 0x10;          // a group or page
inline constexpr uint32_t STATUS_BUTTON = 0x1000000;    // a button
inline constexpr uint32_t STATUS_ALL_BITS = 0xFFFFFFFFu;  // as a mask: replace the whole status word

}  // namespace vemora
