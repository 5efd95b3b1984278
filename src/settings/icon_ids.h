// Icons the plugin registers with the host (from its own icon resources), and
// the host's own icon it shows on a button.
#pragma once

#include <cstdint>

namespace vemora {

// Host icon ids under which the plugin registers its icon resources.
inline constexpr uint32_t ICON_PLUGIN = 139030;     // a cake: both groups
inline constexpr uint32_t ICON_BIRTHDAYS = 139009;  // a gift: "Kto obchodzi urodziny?" and the notifier popup

// Icon-group resources of the library (src/resources/icons.rc).
inline constexpr uint32_t ICON_RESOURCE_PLUGIN = 100;
inline constexpr uint32_t ICON_RESOURCE_BIRTHDAYS = 2;

// One of the host's own icons, on the "Roześlij życzenia!" button.
inline constexpr uint32_t ICON_HOST_SEND = 500;

}  // namespace vemora
