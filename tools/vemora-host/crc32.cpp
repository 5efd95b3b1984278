#include "crc32.h"

#include <array>

namespace vemora::standin {

namespace {

// Eight tables, eight bytes a step: the state file of a large address book
// is tens of megabytes, checked on every run.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables makeTables() {
    Tables tables{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1u) != 0 ? 0xEDB88320u : 0u);
        tables[0][byte] = crc;
    }
    for (size_t k = 1; k < 8; ++k)
        for (size_t byte = 0; byte < 256; ++byte)
            tables[k][byte] = (tables[k - 1][byte] >> 8) ^ tables[0][tables[k - 1][byte] & 0xFFu];
    return tables;
}

constexpr Tables TABLES = makeTables();

uint32_t byteAt(std::string_view bytes, size_t i) { return static_cast<unsigned char>(bytes[i]); }

}  // namespace

uint32_t crc32(std::string_view bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        const uint32_t low = crc ^ (byteAt(bytes, i) | byteAt(bytes, i + 1) << 8 | byteAt(bytes, i + 2) << 16 |
                                    byteAt(bytes, i + 3) << 24);
        crc = TABLES[7][low & 0xFFu] ^ TABLES[6][(low >> 8) & 0xFFu] ^ TABLES[5][(low >> 16) & 0xFFu] ^
              TABLES[4][low >> 24] ^ TABLES[3][byteAt(bytes, i + 4)] ^ TABLES[2][byteAt(bytes, i + 5)] ^
              TABLES[1][byteAt(bytes, i + 6)] ^ TABLES[0][byteAt(bytes, i + 7)];
    }
    for (; i < bytes.size(); ++i) crc = (crc >> 8) ^ TABLES[0][(crc ^ byteAt(bytes, i)) & 0xFFu];
    return crc ^ 0xFFFFFFFFu;
}

}  // namespace vemora::standin
