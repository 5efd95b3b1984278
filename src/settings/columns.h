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

// Values of CNT_WISH_MODE (the radio option's position stores its number).
inline constexpr int32_t WISH_MODE_DEFAULT = 0;  // the program-wide template
inline constexpr int32_t WISH_MODE_OWN = 1;      // the contact's own template
inline constexpr int32_t WISH_MODE_NONE = 2;     // no wishes for this contact

// The default of CFG_WISH_TEXT; lives as long as the plugin is loaded.
extern const char DEFAULT_WISH_TEXT[];

// Declares one column to the host and returns the host's answer. A text
// column's default is the address of a text that outlives the plugin's use of
// it; an int column passes null (sent as 0).
int32_t registerColumn(uint8_t table, uint32_t column, uint32_t valueType, const char* defaultText, uint32_t name);

// The MSG_SETCOLUMNS handler: registers the six columns; always answers 1.
int32_t setupColumns();

}  // namespace vemora
