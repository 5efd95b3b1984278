// One record handed to the plugin's export, as a host hands it.
#pragma once

#include <cstdint>
#include <string>

#include "wire/records.h"

namespace vemora::testing {

inline uint32_t callEntry(wire::MessageProc entry, uint32_t id, uint32_t p1 = 0, uint16_t size = 30) {
    const wire::MessageRecord record{{size, id, 0, wire::HOST_NET, 0, 0}, p1, 0};
    return entry(&record);
}

// The text an identity answer points to.
inline std::string textAt(uint32_t address) { return static_cast<const char*>(wire::addressOf(address)); }

}  // namespace vemora::testing
