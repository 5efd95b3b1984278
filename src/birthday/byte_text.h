// A growable byte string for the texts the plugin builds (the notice, each
// wish), over the plugin's heap. Memory running out is an answer, not an
// exception: the text is then marked failed, keeps what it held, and ignores
// every later append, so a caller checks once, before using the text.
#pragma once

#include <cstddef>
#include <string_view>

namespace vemora {

class ByteText {
public:
    ByteText() = default;
    ~ByteText();
    ByteText(ByteText&& other) noexcept;
    ByteText& operator=(ByteText&& other) noexcept;
    ByteText(const ByteText&) = delete;
    ByteText& operator=(const ByteText&) = delete;

    // Appends the bytes; false once memory ran out, now or before.
    bool append(std::string_view part) noexcept;
    bool failed() const noexcept { return failed_; }

    std::string_view view() const noexcept { return {c_str(), size_}; }
    // Zero-terminated, and valid until the text changes or goes.
    const char* c_str() const noexcept { return data_ != nullptr ? data_ : ""; }
    size_t size() const noexcept { return size_; }

private:
    bool reserve(size_t length);

    char* data_ = nullptr;  // size_ bytes and a terminating zero
    size_t size_ = 0;
    size_t capacity_ = 0;  // bytes in data_, the terminator's included
    bool failed_ = false;
};

}  // namespace vemora
