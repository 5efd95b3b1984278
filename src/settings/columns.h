// The plugin's own settings columns in the host's tables.
#pragma once

#include <cstdint>

namespace vemora {

inline constexpr uint32_t CFG_INFO_MODE = 139014;    // config int: 0 notifier popup, 1 information box
inline constexpr uint32_t CFG_WISH_TEXT = 139019;    // config text: the default wish template
inline constexpr uint32_t CNT_WISH_TEXT = 139013;    // contact text: the contact's own template
inline constexpr uint32_t CNT_WISH_MODE = 139015;    // contact int: 0 default, 1 own, 2 no wishes
inline constexpr uint32_t CNT_AGE = 139033;          // contact int: the age reached this year
inline constexpr uint32_t CFG_NOTIFY_HIDE = 139034;  // config int: 0 popup hides by itself, 1 on a click

// The MSG_SETCOLUMNS handler: registers the six columns; always answers 1.
int32_t setupColumns();

}  // namespace vemora
