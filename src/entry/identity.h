// Who the plugin is, as answered to the host's identity queries.
#pragma once

#include <cstdint>

namespace vemora {

inline constexpr uint32_t PLUGIN_NET = 139;
inline constexpr uint32_t PLUGIN_TYPE = 145;

// Static texts: the host gets the same address on every query.
extern const char PLUGIN_VERSION_TEXT[];
extern const char PLUGIN_SIGNATURE[];
extern const char PLUGIN_NAME[];

}  // namespace vemora
