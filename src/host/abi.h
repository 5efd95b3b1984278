// How the plugin and the host meet in memory. Every record of the boundary is
// byte-packed and little-endian, with 32-bit pointers, and every call across
// it uses the Windows standard calling convention (arguments are 32-bit stack
// words; the callee removes them). The Linux build of the same code keeps the
// convention, so the stand-in host and the tests exercise the real call shape.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(_WIN32)
#define VEMORA_STDCALL __stdcall
#else
#define VEMORA_STDCALL __attribute__((stdcall))
#endif

static_assert(sizeof(void*) == 4, "the host speaks 32-bit pointers: build with -m32 or for i686 Windows");
static_assert(std::endian::native == std::endian::little, "the host's records are little-endian");

namespace vemora {

// The text a text pointer carries when there is nothing to say: a pointer the
// plugin puts into a record is never null. Static, valid while loaded.
extern const char EMPTY_TEXT[1];

// A pointer as the 32-bit word a record field holds.
inline uint32_t toWord(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

// A record field's word as the pointer it holds.
template <class T>
T* fromWord(uint32_t word) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(word));
}

// Reads a record the host owns, or only its first `length` bytes, from any
// address into a value of the plugin's own; the bytes not read stay 0. The
// host's records are packed and may sit at odd addresses, so the plugin never
// reads a field through a pointer to the host's record.
template <class Record>
Record copyRecord(const void* address, size_t length = sizeof(Record)) {
    static_assert(std::is_trivially_copyable_v<Record>);
    std::array<unsigned char, sizeof(Record)> bytes{};
    std::memcpy(bytes.data(), address, length < sizeof(Record) ? length : sizeof(Record));
    return std::bit_cast<Record>(bytes);
}

}  // namespace vemora
