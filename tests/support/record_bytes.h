// Writing a field into the bytes of a record a test builds, as the host
// lays it out: little-endian, the low WIDTH bytes of the value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vemora::testing {

inline void put(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, size_t width = 4) {
    std::memcpy(bytes.data() + offset, &value, width);
}

}  // namespace vemora::testing
