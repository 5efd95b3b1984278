// Records exchanged with the host. They are byte-packed and little-endian, with
// 32-bit pointers; every size and offset is pinned below so a wrong layout
// fails the build instead of corrupting the host's memory.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "host/calling_convention.h"

static_assert(std::endian::native == std::endian::little, "records are little-endian");

namespace vemora {

// A pointer as the 32-bit word the host expects in a record field.
inline uint32_t toWord(const void* pointer) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

#pragma pack(push, 1)

// Opens every record that crosses the boundary in either direction.
struct MessageHeader {
    uint16_t size;       // length of the whole record this header opens
    uint32_t id;         // message or request number
    uint32_t reserved1;  // always 0 from the plugin, never read
    uint32_t net;        // addressee: 0 the host, 774 the notifier plugin
    uint32_t type;       // 0 or -1 as each request states
    uint32_t reserved2;  // always 0 from the plugin, never read

    MessageHeader(uint32_t id, uint32_t net, uint32_t type)
        : size(sizeof(MessageHeader)), id(id), reserved1(0), net(net), type(type), reserved2(0) {}
    explicit MessageHeader(uint32_t id) : MessageHeader(id, 0, 0) {}
};

// A header with two parameter words: the shape of most requests and messages.
struct MessageRecord {
    MessageHeader header;
    uint32_t p1;  // an integer or the address of a record or text
    uint32_t p2;

    // The default state: id, net and p1 all-ones (the queue request relies on it).
    MessageRecord() : header(0xFFFFFFFFu, 0xFFFFFFFFu, 0), p1(0xFFFFFFFFu), p2(0) { header.size = sizeof(MessageRecord); }
    MessageRecord(uint32_t id, uint32_t net, uint32_t type, uint32_t p1, uint32_t p2)
        : header(id, net, type), p1(p1), p2(p2) { header.size = sizeof(MessageRecord); }
};

// Value type codes of a table cell (also the column value types).
inline constexpr uint16_t VALUE_INT = 0;
inline constexpr uint16_t VALUE_TEXT = 1;
inline constexpr uint16_t VALUE_INT64 = 3;

// One cell value travelling to or from the host's tables.
struct ValueRecord {
    uint16_t type;   // VALUE_INT or VALUE_TEXT
    uint32_t value;  // the integer; for text: in the caller's buffer or 0, out the text's address
    uint32_t extra;  // for text: the buffer's size, or 0 or -1 with a null buffer

    explicit ValueRecord(uint16_t type) : type(type), value(0), extra(0) {}
};

// Names one user-interface action of the host.
struct ActionRef {
    int32_t id;       // the action's own id
    int32_t parent;   // the group or page that holds it
    int32_t contact;  // contact row the action concerns, or NO_CONTACT

    static constexpr int32_t NO_CONTACT = -2;

    ActionRef() : id(0), parent(0), contact(NO_CONTACT) {}
    ActionRef(int32_t parent, int32_t id, int32_t contact = NO_CONTACT) : id(id), parent(parent), contact(contact) {}
};

#pragma pack(pop)

static_assert(sizeof(MessageHeader) == 22);
static_assert(offsetof(MessageHeader, size) == 0);
static_assert(offsetof(MessageHeader, id) == 2);
static_assert(offsetof(MessageHeader, reserved1) == 6);
static_assert(offsetof(MessageHeader, net) == 10);
static_assert(offsetof(MessageHeader, type) == 14);
static_assert(offsetof(MessageHeader, reserved2) == 18);

static_assert(sizeof(MessageRecord) == 30);
static_assert(offsetof(MessageRecord, header) == 0);
static_assert(offsetof(MessageRecord, p1) == 22);
static_assert(offsetof(MessageRecord, p2) == 26);

static_assert(sizeof(ValueRecord) == 10);
static_assert(offsetof(ValueRecord, type) == 0);
static_assert(offsetof(ValueRecord, value) == 2);
static_assert(offsetof(ValueRecord, extra) == 6);

static_assert(sizeof(ActionRef) == 12);
static_assert(offsetof(ActionRef, id) == 0);
static_assert(offsetof(ActionRef, parent) == 4);
static_assert(offsetof(ActionRef, contact) == 8);

}  // namespace vemora
