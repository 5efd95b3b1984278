// The plugin's user interface: icons, the contact group, the settings page and the buttons.
#pragma once

#include <cstdint>

namespace vemora {

// The MSG_UI_PREPARE handler; always answers 1.
int32_t setupUi();

}  // namespace vemora
