// CRC-32 (the polynomial of zip and PNG) of a byte string: the state file's
// check that nothing in it was lost or changed since it was written.
#pragma once

#include <cstdint>
#include <string_view>

namespace vemora::standin {

uint32_t crc32(std::string_view bytes);

}  // namespace vemora::standin
