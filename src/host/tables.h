// The host's data tables and the host's own contact columns the plugin reads.
#pragma once

#include <cstdint>

namespace vemora {

inline constexpr uint8_t CONFIG_TABLE = 0;   // program-wide settings, always row 0
inline constexpr uint8_t CONTACT_TABLE = 1;  // one row per contact
inline constexpr int32_t CONFIG_ROW = 0;

// The host's own contact columns; the plugin only reads them.
inline constexpr uint32_t CNT_UID = 0;            // text
inline constexpr uint32_t CNT_NET = 1;            // int
inline constexpr uint32_t CNT_FIRST_NAME = 6;     // text
inline constexpr uint32_t CNT_SURNAME = 7;        // text
inline constexpr uint32_t CNT_DISPLAY_NAME = 8;   // text
inline constexpr uint32_t CNT_NICK = 17;          // text
inline constexpr uint32_t CNT_BIRTH_DATE = 19;    // int: year in bits 31-16, month 15-8, day 7-0
inline constexpr uint32_t CNT_GENDER_CODE = 20;   // int: 1 female, 2 male

inline constexpr int32_t GENDER_FEMALE = 1;
inline constexpr int32_t GENDER_MALE = 2;

}  // namespace vemora
