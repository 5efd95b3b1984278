// What the host tells the plugin when one of its UI elements is used.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/records.h"

namespace vemora {

inline constexpr uint32_t ACTION_PRESSED = 1;
inline constexpr uint32_t ACTION_REFRESH = 10;

#pragma pack(push, 1)
// The host's record may be longer; nothing past `code` is read.
struct ActionNotifyRecord {
    uint16_t size;
    ActionRef action;
    uint32_t code;
};
#pragma pack(pop)

static_assert(sizeof(ActionNotifyRecord) == 18);
static_assert(offsetof(ActionNotifyRecord, size) == 0);
static_assert(offsetof(ActionNotifyRecord, action) == 2);
static_assert(offsetof(ActionNotifyRecord, code) == 14);

}  // namespace vemora
