// The fuzzer's bytes, read front to back as the choices of one run: which
// records the host sends and how it answers. Past the end every read gives
// 0, so any input, even an empty one, is a complete run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vemora::fuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool exhausted() const { return position_ >= size_; }

    uint8_t byte() { return exhausted() ? 0 : data_[position_++]; }

    uint16_t half() {
        const uint16_t low = byte();
        return static_cast<uint16_t>(low | (byte() << 8));
    }

    uint32_t word() {
        const uint32_t low = half();
        return low | (static_cast<uint32_t>(half()) << 16);
    }

    // One of `count` choices.
    unsigned pick(unsigned count) { return byte() % count; }

    // A length-prefixed run of bytes, cut at the first zero byte (a text
    // crossing the boundary is zero-terminated).
    std::string bytes(size_t maxLength) {
        const size_t length = byte() % (maxLength + 1);
        std::string text;
        for (size_t i = 0; i < length && !exhausted(); ++i) {
            const char c = static_cast<char>(byte());
            if (c == '\0') break;
            text.push_back(c);
        }
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

}  // namespace vemora::fuzz
