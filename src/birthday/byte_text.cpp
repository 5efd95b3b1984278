#include "birthday/byte_text.h"

#include <cstring>
#include <utility>

#include "birthday/heap.h"

namespace vemora {

namespace {

// The first block holds a short text without growing; then each growth
// doubles, so a text built piece by piece costs few allocations.
constexpr size_t FIRST_CAPACITY = 64;

}  // namespace

ByteText::~ByteText() {
    if (data_ != nullptr) heap().release(data_);
}

ByteText::ByteText(ByteText&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      failed_(std::exchange(other.failed_, false)) {}

ByteText& ByteText::operator=(ByteText&& other) noexcept {
    // The taken text releases what this one held when it goes.
    ByteText taken(std::move(other));
    std::swap(data_, taken.data_);
    std::swap(size_, taken.size_);
    std::swap(capacity_, taken.capacity_);
    std::swap(failed_, taken.failed_);
    return *this;
}

bool ByteText::reserve(size_t length) {
    if (length < capacity_) return true;
    // A length near the address space's end cannot be held, and the doubling
    // below must not wrap around.
    if (length >= static_cast<size_t>(-1) / 2) return false;
    size_t capacity = capacity_ < FIRST_CAPACITY ? FIRST_CAPACITY : capacity_;
    while (capacity <= length) capacity *= 2;
    void* grown = heap().reallocate(data_, capacity);
    if (grown == nullptr) return false;
    data_ = static_cast<char*>(grown);
    capacity_ = capacity;
    return true;
}

bool ByteText::append(std::string_view part) noexcept {
    if (failed_) return false;
    if (part.size() > static_cast<size_t>(-1) - size_ || !reserve(size_ + part.size())) {
        failed_ = true;
        return false;
    }
    if (!part.empty()) std::memcpy(data_ + size_, part.data(), part.size());
    size_ += part.size();
    data_[size_] = '\0';
    return true;
}

}  // namespace vemora
