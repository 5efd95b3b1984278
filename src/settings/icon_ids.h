// Icons the plugin registers with the host (from its own icon resources).
#pragma once

#include <cstdint>

namespace vemora {

// The birthday-cake icon: the "Kto obchodzi urodziny?" button and the notifier popup.
inline constexpr uint32_t ICON_BIRTHDAYS = 139009;

}  // namespace vemora
