// Registering the plugin's icon resources with the host.
#pragma once

#include <cstdint>

namespace vemora {

inline constexpr uint32_t ICON_TYPE_RESOURCE = 1;  // the icon comes from a module's icon-group resource
inline constexpr uint32_t ICON_OPTIONS = 1;

// Asks the host to load icon-group `resource` of `module` as icon `iconId`.
// The host's answer is not needed: callers name the icon by the id they chose,
// which is what this returns.
uint32_t registerIcon(uint32_t type, uint32_t iconId, void* module, uint32_t resource, uint32_t options);

}  // namespace vemora
