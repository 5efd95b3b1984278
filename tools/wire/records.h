// The records that cross the boundary, as the hosts we write read and build
// them: plain byte-packed little-endian layouts with 32-bit pointers, every
// size and offset pinned below. Fields whose meaning the protocol does not
// give are named by their width and offset (byte30, half70, word14), unless
// the protocol's own documentation names them (reserved1, reservedA).
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "wire/ids.h"

#if defined(_WIN32)
#define VEMORA_WIRE_STDCALL __stdcall
#else
#define VEMORA_WIRE_STDCALL __attribute__((stdcall))
#endif

static_assert(sizeof(void*) == 4, "the plugin speaks 32-bit pointers: build the hosts with -m32 or for i686 Windows");
static_assert(std::endian::native == std::endian::little, "the records are little-endian");

namespace vemora::wire {

// The plugin's one export as a host calls it: the address of a record that
// opens with a MessageHeader in, a number or a text's address out.
using MessageProc = uint32_t(VEMORA_WIRE_STDCALL*)(const void* record);
inline constexpr char EXPORT_NAME_DLL[] = "_IMessageProc@4";  // in Vemora.dll, ordinal 1
inline constexpr char EXPORT_NAME_SO[] = "IMessageProc";      // in vemora.so

#pragma pack(push, 1)

struct MessageHeader {
    uint16_t size;       // of the whole record: 22 bare, 30 with p1 and p2, more for longer records
    uint32_t id;         // MSG_*, REQ_* or NOTIFY_SHOW
    uint32_t reserved1;  // 0
    uint32_t net;        // the addressee: HOST_NET or NOTIFIER_NET
    uint32_t type;       // 0, or TYPE_QUERY for the requests that ask for a number
    uint32_t reserved2;  // 0
};

struct MessageRecord {
    MessageHeader header;  // size 30
    uint32_t p1;           // a number, or the address of a record or text, as the id says
    uint32_t p2;           // 0
};

struct ActionRef {
    int32_t id;       // the element
    int32_t parent;   // the group or page holding it
    int32_t contact;  // the contact row it concerns, or NO_CONTACT
};

struct ValueRecord {
    uint16_t type;   // VALUE_INT, VALUE_TEXT or VALUE_INT64
    uint32_t value;  // int: the value; text: in the reader's buffer or 0, out the text's address
    uint32_t extra;  // text: the buffer's size, TEXT_READ_TEMPLATE or TEXT_READ_VALUE; int64: the high word
};

// REQ_COLUMN_REGISTER: the request declares one column of the plugin's.
struct ColumnRegisterRecord {
    MessageHeader header;   // size 39
    uint8_t table;          // CONFIG_TABLE or CONTACT_TABLE
    uint32_t column;        // the column id
    uint32_t valueType;     // VALUE_INT or VALUE_TEXT
    uint32_t defaultValue;  // text column: the default text's address; int column: the default
    uint32_t name;          // 0
};

// p1 of REQ_ACTION_ADD, REQ_ACTION_SET_STATUS and REQ_ACTION_GET_VALUE: one
// element, 74 bytes, or 78 in the extended form of an add.
struct UiActionRecord {
    uint16_t size;        // UI_ACTION_SIZE or UI_ACTION_EXTENDED_SIZE
    ActionRef action;     // the element
    uint32_t word14;      // -1 in an add, else 0
    uint32_t word18;      // 0
    uint32_t word22;      // 0
    uint32_t word26;      // 0
    uint32_t fieldMask;   // FIELDS_ADD, FIELDS_STATUS or FIELDS_VALUE
    uint32_t status;      // add: the element's kind and status bits; status change: the new bits
    uint32_t statusMask;  // the bits that change
    uint32_t word42;      // 0
    uint32_t word46;      // 0
    uint32_t text;        // add: the element's text (0: a separator); value read: the reader's buffer or 0
    uint32_t textSize;    // value read: the buffer's size, 0 without one
    uint32_t word58;      // per element
    uint32_t param;       // the bound column, or the icon of a group or button
    uint32_t word66;      // per element
    uint16_t half70;      // per element
    uint16_t half72;      // per element
    uint16_t half74;      // extended form only
    uint16_t half76;      // extended form only
};
inline constexpr uint16_t UI_ACTION_SIZE = 74;
inline constexpr uint16_t UI_ACTION_EXTENDED_SIZE = 78;

// p1 of REQ_ICON_REGISTER.
struct IconRegisterRecord {
    uint16_t size;      // 36
    uint16_t half2;     // 0
    uint32_t iconId;    // the host icon id to register
    uint32_t type;      // ICON_TYPE_RESOURCE
    uint32_t handle;    // 0: the host loads the icon itself
    uint32_t options;   // ICON_OPTIONS
    uint32_t module;    // the module holding the resource
    uint32_t resource;  // the icon-group resource id
    uint32_t word28;    // 0
    uint32_t word32;    // 0
};

// p1 of MSG_UI_ACTION; the plugin reads these 18 bytes.
struct ActionNotifyRecord {
    uint16_t size;     // 18 from the hosts here
    ActionRef action;  // the element used, and the contact it was used for
    uint32_t code;     // ACTION_PRESSED, ACTION_REFRESH or another event
};

// p1 of REQ_MESSAGE_NEW: one outgoing chat message.
struct ChatMessage {
    uint16_t size;           // 58
    uint32_t reservedA;      // 0
    uint32_t net;            // the recipient's network
    uint32_t type;           // CHAT_MESSAGE_TYPE
    uint32_t reservedTextA;  // a text, always empty
    uint32_t recipient;      // the recipient's uid text
    uint32_t body;           // the message text
    uint32_t reservedTextB;  // a text, always empty
    uint32_t flags;          // CHAT_MESSAGE_FLAGS
    ActionRef action;        // no action: (0, 0, NO_CONTACT)
    uint32_t reservedB;      // 0
    uint32_t reservedC;      // 0
    uint32_t reservedD;      // 0
};

// NOTIFY_SHOW: one popup of the notifier plugin.
struct NotifyPopupRecord {
    MessageHeader header;  // size 52
    uint16_t half22;       // 0
    uint32_t text;         // the text to show; "<b>" sets off names and ages
    uint8_t byte28;        // 0
    uint8_t timeout;       // POPUP_TIMEOUT_*
    uint8_t byte30;        // 0
    uint8_t byte31;        // 0
    uint32_t icon;         // the icon beside the text
    ActionRef action;      // no action: (0, 0, NO_CONTACT)
    uint32_t word48;       // 0
};

#pragma pack(pop)

static_assert(sizeof(MessageHeader) == 22);
static_assert(offsetof(MessageHeader, size) == 0 && offsetof(MessageHeader, id) == 2);
static_assert(offsetof(MessageHeader, reserved1) == 6 && offsetof(MessageHeader, net) == 10);
static_assert(offsetof(MessageHeader, type) == 14 && offsetof(MessageHeader, reserved2) == 18);

static_assert(sizeof(MessageRecord) == 30);
static_assert(offsetof(MessageRecord, p1) == 22 && offsetof(MessageRecord, p2) == 26);

static_assert(sizeof(ActionRef) == 12);
static_assert(offsetof(ActionRef, id) == 0 && offsetof(ActionRef, parent) == 4 && offsetof(ActionRef, contact) == 8);

static_assert(sizeof(ValueRecord) == 10);
static_assert(offsetof(ValueRecord, type) == 0 && offsetof(ValueRecord, value) == 2);
static_assert(offsetof(ValueRecord, extra) == 6);

static_assert(sizeof(ColumnRegisterRecord) == 39);
static_assert(offsetof(ColumnRegisterRecord, table) == 22 && offsetof(ColumnRegisterRecord, column) == 23);
static_assert(offsetof(ColumnRegisterRecord, valueType) == 27 && offsetof(ColumnRegisterRecord, defaultValue) == 31);
static_assert(offsetof(ColumnRegisterRecord, name) == 35);

static_assert(sizeof(UiActionRecord) == UI_ACTION_EXTENDED_SIZE);
static_assert(offsetof(UiActionRecord, action) == 2 && offsetof(UiActionRecord, word14) == 14);
static_assert(offsetof(UiActionRecord, word18) == 18 && offsetof(UiActionRecord, word22) == 22);
static_assert(offsetof(UiActionRecord, word26) == 26 && offsetof(UiActionRecord, fieldMask) == 30);
static_assert(offsetof(UiActionRecord, status) == 34 && offsetof(UiActionRecord, statusMask) == 38);
static_assert(offsetof(UiActionRecord, word42) == 42 && offsetof(UiActionRecord, word46) == 46);
static_assert(offsetof(UiActionRecord, text) == 50 && offsetof(UiActionRecord, textSize) == 54);
static_assert(offsetof(UiActionRecord, word58) == 58 && offsetof(UiActionRecord, param) == 62);
static_assert(offsetof(UiActionRecord, word66) == 66 && offsetof(UiActionRecord, half70) == 70);
static_assert(offsetof(UiActionRecord, half72) == 72 && offsetof(UiActionRecord, half74) == UI_ACTION_SIZE);
static_assert(offsetof(UiActionRecord, half76) == 76);

static_assert(sizeof(IconRegisterRecord) == 36);
static_assert(offsetof(IconRegisterRecord, half2) == 2 && offsetof(IconRegisterRecord, iconId) == 4);
static_assert(offsetof(IconRegisterRecord, type) == 8 && offsetof(IconRegisterRecord, handle) == 12);
static_assert(offsetof(IconRegisterRecord, options) == 16 && offsetof(IconRegisterRecord, module) == 20);
static_assert(offsetof(IconRegisterRecord, resource) == 24 && offsetof(IconRegisterRecord, word28) == 28);
static_assert(offsetof(IconRegisterRecord, word32) == 32);

static_assert(sizeof(ActionNotifyRecord) == 18);
static_assert(offsetof(ActionNotifyRecord, action) == 2 && offsetof(ActionNotifyRecord, code) == 14);

static_assert(sizeof(ChatMessage) == 58);
static_assert(offsetof(ChatMessage, reservedA) == 2 && offsetof(ChatMessage, net) == 6);
static_assert(offsetof(ChatMessage, type) == 10 && offsetof(ChatMessage, reservedTextA) == 14);
static_assert(offsetof(ChatMessage, recipient) == 18 && offsetof(ChatMessage, body) == 22);
static_assert(offsetof(ChatMessage, reservedTextB) == 26 && offsetof(ChatMessage, flags) == 30);
static_assert(offsetof(ChatMessage, action) == 34 && offsetof(ChatMessage, reservedB) == 46);
static_assert(offsetof(ChatMessage, reservedC) == 50 && offsetof(ChatMessage, reservedD) == 54);

static_assert(sizeof(NotifyPopupRecord) == 52);
static_assert(offsetof(NotifyPopupRecord, half22) == 22 && offsetof(NotifyPopupRecord, text) == 24);
static_assert(offsetof(NotifyPopupRecord, byte28) == 28 && offsetof(NotifyPopupRecord, timeout) == 29);
static_assert(offsetof(NotifyPopupRecord, byte30) == 30 && offsetof(NotifyPopupRecord, byte31) == 31);
static_assert(offsetof(NotifyPopupRecord, icon) == 32 && offsetof(NotifyPopupRecord, action) == 36);
static_assert(offsetof(NotifyPopupRecord, word48) == 48);

// --- The host control ---------------------------------------------------------

struct HostControl;

// The host's table of operations: 23 entries, of which the plugin calls five,
// each with the control object first. The others stay null in our hosts.
struct HostOperations {
    void* entries0to2[3];
    // 3: the module handle of the plugin's library.
    void*(VEMORA_WIRE_STDCALL* getPluginModule)(HostControl* self);
    void* entry4;
    // 5: an error code of the plugin's; nothing is answered.
    void(VEMORA_WIRE_STDCALL* setError)(HostControl* self, int32_t code);
    void* entry6;
    // 7: a record that opens with a MessageHeader; the answer as its id says.
    uint32_t(VEMORA_WIRE_STDCALL* sendMessage)(HostControl* self, MessageHeader* record);
    void* entries8to20[13];
    // 21 and 22: one cell read into, or written from, the value record.
    int32_t(VEMORA_WIRE_STDCALL* getValue)(HostControl* self, uint32_t table, int32_t row, uint32_t column,
                                           ValueRecord* value);
    int32_t(VEMORA_WIRE_STDCALL* setValue)(HostControl* self, uint32_t table, int32_t row, uint32_t column,
                                           ValueRecord* value);
};

// What MSG_INIT hands over: an object whose first word is the table's address.
struct HostControl {
    const HostOperations* operations;
};

static_assert(sizeof(HostOperations) == 23 * 4);
static_assert(offsetof(HostOperations, getPluginModule) == 3 * 4 && offsetof(HostOperations, setError) == 5 * 4);
static_assert(offsetof(HostOperations, sendMessage) == 7 * 4);
static_assert(offsetof(HostOperations, getValue) == 21 * 4 && offsetof(HostOperations, setValue) == 22 * 4);
static_assert(sizeof(HostControl) == 4);

// --- Addresses ---------------------------------------------------------------

// A 32-bit record field as the address it holds, and back.
inline const void* addressOf(uint32_t word) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(word)); }
inline uint32_t wordOf(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

// A record read from any address (the records are packed and may sit at odd
// ones), or only its first `length` bytes; the bytes not read stay 0.
template <class Record>
Record readRecord(const void* address, size_t length = sizeof(Record)) {
    static_assert(std::is_trivially_copyable_v<Record>);
    std::array<unsigned char, sizeof(Record)> bytes{};
    std::memcpy(bytes.data(), address, length < sizeof(Record) ? length : sizeof(Record));
    return std::bit_cast<Record>(bytes);
}

}  // namespace vemora::wire
