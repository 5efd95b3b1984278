// Fixed ids of the plugin's user interface: where its elements hang, what
// they are called, the icons they show and the status bits the plugin sets.
#pragma once

#include <cstdint>

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

// Host icon ids under which the plugin registers its icon resources.
inline constexpr uint32_t ICON_PLUGIN = 139030;     // both groups; icon-group resource 100
inline constexpr uint32_t ICON_BIRTHDAYS = 139009;  // birthdays button and notifier popup; resource 2
inline constexpr uint32_t ICON_HOST_SEND = 500;     // one of the host's own icons, on the wishes button

// Icon-group resources of the library (see src/resources/icons.rc).
inline constexpr uint32_t ICON_RESOURCE_PLUGIN = 100;
inline constexpr uint32_t ICON_RESOURCE_BIRTHDAYS = 2;

// Status bits whose meaning the plugin relies on; every other bit it sends is
// passed through as given.
inline constexpr uint32_t STATUS_INACTIVE = 0x1;        // a button while nobody has a birthday
inline constexpr uint32_t STATUS_DISABLED = 0x2;        // the own-template field unless "Własna" is chosen
inline constexpr uint32_t STATUS_GROUP = 0x10;          // a group or page
inline constexpr uint32_t STATUS_BUTTON = 0x1000000;    // a button
inline constexpr uint32_t STATUS_ALL_BITS = 0xFFFFFFFFu;  // as a mask: replace the whole status word

}  // namespace vemora
