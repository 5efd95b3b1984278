// The record that asks the host to register one icon from the plugin's resources.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vemora {

#pragma pack(push, 1)

struct IconRegisterRecord {
    uint16_t size = sizeof(IconRegisterRecord);
    uint16_t unused2 = 0;
    uint32_t iconId = 0;    // host icon id the icon is registered under
    uint32_t type = 0;
    uint32_t handle = 0;    // always 0: the host loads the icon itself
    uint32_t options = 0;
    uint32_t module = 0;    // module handle of the library holding the resource
    uint32_t resource = 0;  // icon-group resource id in that module
    uint32_t word28 = 0;
    uint32_t word32 = 0;
};

#pragma pack(pop)

static_assert(sizeof(IconRegisterRecord) == 36);
static_assert(offsetof(IconRegisterRecord, size) == 0);
static_assert(offsetof(IconRegisterRecord, unused2) == 2);
static_assert(offsetof(IconRegisterRecord, iconId) == 4);
static_assert(offsetof(IconRegisterRecord, type) == 8);
static_assert(offsetof(IconRegisterRecord, handle) == 12);
static_assert(offsetof(IconRegisterRecord, options) == 16);
static_assert(offsetof(IconRegisterRecord, module) == 20);
static_assert(offsetof(IconRegisterRecord, resource) == 24);
static_assert(offsetof(IconRegisterRecord, word28) == 28);
static_assert(offsetof(IconRegisterRecord, word32) == 32);

}  // namespace vemora
