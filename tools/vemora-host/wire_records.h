// The records the plugin hands the host, as the host reads them. They are
// kept here as plain layouts, written down from the protocol independently of
// the plugin's own builders, so that a layout slip on either side shows up as
// a wrong field in the stand-in rather than cancelling out. Every size and
// offset is pinned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "host/host_control.h"
#include "host/messages.h"

namespace vemora::standin {

#pragma pack(push, 1)

// MessageHeader as plain data (the plugin's version has builders only).
struct WireHeader {
    uint16_t size;
    uint32_t id;
    uint32_t reserved1;
    uint32_t net;
    uint32_t type;
    uint32_t reserved2;
};

struct WireMessage {
    WireHeader header;
    uint32_t p1;
    uint32_t p2;
};

struct WireActionRef {
    int32_t id;
    int32_t parent;
    int32_t contact;
};

// REQ_COLUMN_REGISTER: the request itself declares one column.
struct WireColumnRegister {
    WireHeader header;
    uint8_t table;  // one byte
    uint32_t column;
    uint32_t valueType;
    uint32_t defaultValue;  // text columns: address of the default text
    uint32_t name;
};

// NOTIFY_SHOW for the notifier plugin.
struct WireNotifyPopup {
    WireHeader header;
    uint16_t gap;
    uint32_t text;
    uint8_t style;
    uint8_t timeout;
    uint8_t byte30;
    uint8_t reserved;
    uint32_t icon;
    WireActionRef action;
    uint32_t word48;
};

// REQ_ICON_REGISTER's p1.
struct WireIconRegister {
    uint16_t size;
    uint16_t gap;
    uint32_t iconId;
    uint32_t type;
    uint32_t handle;
    uint32_t options;
    uint32_t module;
    uint32_t resource;
    uint32_t word28;
    uint32_t word32;
};

// One UI element (REQ_ACTION_ADD) or a status or value request about one.
// 74 bytes; the extended form adds sizeC and sizeD.
struct WireUiAction {
    uint16_t size;
    WireActionRef action;
    uint32_t word14;
    uint32_t word18;
    uint32_t word22;
    uint32_t word26;
    uint32_t fieldMask;
    uint32_t status;
    uint32_t statusMask;
    uint32_t word42;
    uint32_t word46;
    uint32_t text;
    uint32_t textSize;
    uint32_t extraB;
    uint32_t param;
    uint32_t extraA;
    uint16_t sizeA;
    uint16_t sizeB;
    uint16_t sizeC;  // extended form only
    uint16_t sizeD;  // extended form only
};

// REQ_MESSAGE_NEW's p1.
struct WireChatMessage {
    uint16_t size;
    uint32_t reservedA;
    uint32_t net;
    uint32_t type;
    uint32_t reservedTextA;
    uint32_t recipient;
    uint32_t body;
    uint32_t reservedTextB;
    uint32_t flags;
    WireActionRef action;
    uint32_t reservedB;
    uint32_t reservedC;
    uint32_t reservedD;
};

// What the host tells the plugin with MSG_UI_ACTION.
struct WireActionNotify {
    uint16_t size;
    WireActionRef action;
    uint32_t code;
};

#pragma pack(pop)

inline constexpr uint16_t UI_ACTION_SIZE = 74;
inline constexpr uint16_t UI_ACTION_EXTENDED_SIZE = 78;

static_assert(sizeof(WireHeader) == 22);
static_assert(offsetof(WireHeader, id) == 2 && offsetof(WireHeader, reserved1) == 6);
static_assert(offsetof(WireHeader, net) == 10 && offsetof(WireHeader, type) == 14);
static_assert(offsetof(WireHeader, reserved2) == 18);

static_assert(sizeof(WireMessage) == 30);
static_assert(offsetof(WireMessage, p1) == 22 && offsetof(WireMessage, p2) == 26);

static_assert(sizeof(WireActionRef) == 12);
static_assert(offsetof(WireActionRef, parent) == 4 && offsetof(WireActionRef, contact) == 8);

static_assert(sizeof(WireColumnRegister) == 39);
static_assert(offsetof(WireColumnRegister, table) == 22 && offsetof(WireColumnRegister, column) == 23);
static_assert(offsetof(WireColumnRegister, valueType) == 27 && offsetof(WireColumnRegister, defaultValue) == 31);
static_assert(offsetof(WireColumnRegister, name) == 35);

static_assert(sizeof(WireNotifyPopup) == 52);
static_assert(offsetof(WireNotifyPopup, gap) == 22 && offsetof(WireNotifyPopup, text) == 24);
static_assert(offsetof(WireNotifyPopup, style) == 28 && offsetof(WireNotifyPopup, timeout) == 29);
static_assert(offsetof(WireNotifyPopup, byte30) == 30 && offsetof(WireNotifyPopup, reserved) == 31);
static_assert(offsetof(WireNotifyPopup, icon) == 32 && offsetof(WireNotifyPopup, action) == 36);
static_assert(offsetof(WireNotifyPopup, word48) == 48);

static_assert(sizeof(WireIconRegister) == 36);
static_assert(offsetof(WireIconRegister, gap) == 2 && offsetof(WireIconRegister, iconId) == 4);
static_assert(offsetof(WireIconRegister, type) == 8 && offsetof(WireIconRegister, handle) == 12);
static_assert(offsetof(WireIconRegister, options) == 16 && offsetof(WireIconRegister, module) == 20);
static_assert(offsetof(WireIconRegister, resource) == 24 && offsetof(WireIconRegister, word28) == 28);
static_assert(offsetof(WireIconRegister, word32) == 32);

static_assert(sizeof(WireUiAction) == UI_ACTION_EXTENDED_SIZE);
static_assert(offsetof(WireUiAction, action) == 2 && offsetof(WireUiAction, word14) == 14);
static_assert(offsetof(WireUiAction, word18) == 18 && offsetof(WireUiAction, word22) == 22);
static_assert(offsetof(WireUiAction, word26) == 26 && offsetof(WireUiAction, fieldMask) == 30);
static_assert(offsetof(WireUiAction, status) == 34 && offsetof(WireUiAction, statusMask) == 38);
static_assert(offsetof(WireUiAction, word42) == 42 && offsetof(WireUiAction, word46) == 46);
static_assert(offsetof(WireUiAction, text) == 50 && offsetof(WireUiAction, textSize) == 54);
static_assert(offsetof(WireUiAction, extraB) == 58 && offsetof(WireUiAction, param) == 62);
static_assert(offsetof(WireUiAction, extraA) == 66 && offsetof(WireUiAction, sizeA) == 70);
static_assert(offsetof(WireUiAction, sizeB) == 72 && offsetof(WireUiAction, sizeC) == UI_ACTION_SIZE);
static_assert(offsetof(WireUiAction, sizeD) == 76);

static_assert(sizeof(WireChatMessage) == 58);
static_assert(offsetof(WireChatMessage, reservedA) == 2 && offsetof(WireChatMessage, net) == 6);
static_assert(offsetof(WireChatMessage, type) == 10 && offsetof(WireChatMessage, reservedTextA) == 14);
static_assert(offsetof(WireChatMessage, recipient) == 18 && offsetof(WireChatMessage, body) == 22);
static_assert(offsetof(WireChatMessage, reservedTextB) == 26 && offsetof(WireChatMessage, flags) == 30);
static_assert(offsetof(WireChatMessage, action) == 34 && offsetof(WireChatMessage, reservedB) == 46);
static_assert(offsetof(WireChatMessage, reservedC) == 50 && offsetof(WireChatMessage, reservedD) == 54);

static_assert(sizeof(WireActionNotify) == 18);
static_assert(offsetof(WireActionNotify, action) == 2 && offsetof(WireActionNotify, code) == 14);

// The plugin's memory is reached through 32-bit addresses in record fields.
inline const void* addressOf(uint32_t word) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(word)); }
inline uint32_t wordOf(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

// Records are copied out of the plugin's memory with copyRecord (host/abi.h):
// only the bytes available are read, the rest stays zero.

}  // namespace vemora::standin
