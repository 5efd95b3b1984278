// What the plugin asks of the host: the control object handed over with
// MSG_INIT, its operation table, the cell value record of the table reads and
// writes, and every request sent through sendMessage.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/abi.h"
#include "host/messages.h"

namespace vemora {

#pragma pack(push, 1)

// One cell value travelling to or from the host's tables. The plugin zeroes it
// before every call, so an integer the host leaves unanswered reads as 0.
struct ValueRecord {
    uint16_t type;   // VALUE_INT or VALUE_TEXT (VALUE_INT64 exists but the plugin never uses it)
    uint32_t value;  // int: the value; text: in the caller's buffer (always 0 from the plugin), out the text's address
    uint32_t extra;  // int: 0; text: the buffer's size, TEXT_READ_TEMPLATE or TEXT_READ_VALUE with no buffer

    explicit ValueRecord(uint16_t type) : type(type), value(0), extra(0) {}
};

#pragma pack(pop)

static_assert(sizeof(ValueRecord) == 10);
static_assert(offsetof(ValueRecord, type) == 0);
static_assert(offsetof(ValueRecord, value) == 2);
static_assert(offsetof(ValueRecord, extra) == 6);

// Cell value types; the same codes are the value types of a column.
inline constexpr uint16_t VALUE_INT = 0;    // a 32-bit integer
inline constexpr uint16_t VALUE_TEXT = 1;   // a zero-terminated code page 1250 text
inline constexpr uint16_t VALUE_INT64 = 3;  // low word in value, high word in extra; unused by the plugin

// The buffer size of a text read without a buffer of the plugin's: the host
// answers with its own text either way; what it makes of the difference is its own.
inline constexpr uint32_t TEXT_READ_TEMPLATE = 0xFFFFFFFFu;  // the two wish templates
inline constexpr uint32_t TEXT_READ_VALUE = 0;               // every other text read

struct HostControl;

// Module handle of the plugin's own library; the host loads the plugin's icons from it.
using GetPluginModuleFn = void*(VEMORA_STDCALL*)(HostControl* self);
// Reports an error code; the plugin only sends ERROR_UNHANDLED_MESSAGE. No answer.
using SetErrorFn = void(VEMORA_STDCALL*)(HostControl* self, int32_t code);
// Delivers a record that opens with a MessageHeader and is read before the call
// returns; the answer is an integer or an address, as the request says.
using SendMessageFn = uint32_t(VEMORA_STDCALL*)(HostControl* self, MessageHeader* record);
// Reads one cell into the ValueRecord; the table number is 8-bit in a 32-bit
// slot. The answer is ignored: the record carries the value.
using GetValueFn = int32_t(VEMORA_STDCALL*)(HostControl* self, uint32_t table, int32_t row, uint32_t column,
                                            ValueRecord* value);
// Writes one cell from the ValueRecord; the answer is passed back to the caller.
using SetValueFn = int32_t(VEMORA_STDCALL*)(HostControl* self, uint32_t table, int32_t row, uint32_t column,
                                            ValueRecord* value);

// The host's table of operations, as far as the plugin uses it. The entries
// between and after these exist but are never called.
struct HostOperations {
    void* entries0to2[3];               // not called
    GetPluginModuleFn getPluginModule;  // entry 3
    void* entry4;                       // not called
    SetErrorFn setError;                // entry 5
    void* entry6;                       // not called
    SendMessageFn sendMessage;          // entry 7
    void* entries8to20[13];             // not called
    GetValueFn getValue;                // entry 21
    SetValueFn setValue;                // entry 22
};

// The object MSG_INIT hands over. The host owns it; every operation takes its
// address first.
struct HostControl {
    const HostOperations* operations;  // the host's operation table
};

static_assert(offsetof(HostOperations, getPluginModule) == 3 * 4);
static_assert(offsetof(HostOperations, setError) == 5 * 4);
static_assert(offsetof(HostOperations, sendMessage) == 7 * 4);
static_assert(offsetof(HostOperations, getValue) == 21 * 4);
static_assert(offsetof(HostOperations, setValue) == 22 * 4);
static_assert(sizeof(HostOperations) == 23 * 4);
static_assert(sizeof(HostControl) == 4);

// Requests, sent to HOST_NET in a MessageRecord unless a record of their own is
// named; p2 is always 0. Each line: p1, then the answer the plugin relies on.
inline constexpr uint32_t REQ_MESSAGE_NEW = 100;          // a ChatMessage; a message number, 0 for none
inline constexpr uint32_t REQ_MESSAGE_QUEUE = 101;        // a default MessageRecord holding that number in p1; none
inline constexpr uint32_t REQ_CONTACT_COUNT = 201;        // 0, type TYPE_QUERY; the contact count N (rows 0 to N are walked)
inline constexpr uint32_t REQ_COLUMN_REGISTER = 1102;     // sent as a ColumnRegisterRecord itself; none
inline constexpr uint32_t REQ_ACTION_ADD = 10101;         // a UiActionRecord describing the element; none
inline constexpr uint32_t REQ_ACTION_GET_VALUE = 10106;   // a UiActionRecord (FIELDS_VALUE); the value's text address
inline constexpr uint32_t REQ_ACTION_SET_STATUS = 10108;  // a UiActionRecord (FIELDS_STATUS); none
inline constexpr uint32_t REQ_BUTTON_GROUP = 10119;       // 0, type TYPE_QUERY; the id of the host's button group
inline constexpr uint32_t REQ_ICON_REGISTER = 10130;      // an IconRegisterRecord; none
inline constexpr uint32_t REQ_INFO_BOX = 10204;           // the text to show in the host's information box; none

// The `type` word of the requests that ask the host for a number.
inline constexpr uint32_t TYPE_QUERY = 0xFFFFFFFFu;

// How long a text the host answers stays valid. A text cell read and
// REQ_ACTION_GET_VALUE answer with the host's own text, which the plugin
// copies or has finished with before its next call into the host, with one
// exception: a wish carries its contact's CNT_UID text in the ChatMessage, so
// the host keeps that text valid through the CNT_NET read that follows and
// until the wish's REQ_MESSAGE_NEW has returned. The plugin never frees a
// text of the host's.

}  // namespace vemora
