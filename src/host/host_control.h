// The host's control object, handed over with MSG_INIT. Its first word is the
// address of the host's table of operations; each operation takes the
// object's address first, then its arguments as 32-bit stack words.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/calling_convention.h"
#include "host/records.h"

namespace vemora {

struct HostControl;

// Module handle of the plugin's own library; the host loads our icons from it.
using GetPluginModuleFn = void*(VEMORA_STDCALL*)(HostControl* self);
// Reports an error code to the host; the plugin only ever sends 1 (unhandled message).
using SetErrorFn = void(VEMORA_STDCALL*)(HostControl* self, int32_t code);
// Delivers a record that opens with a MessageHeader; the answer is an integer or an address.
using SendMessageFn = uint32_t(VEMORA_STDCALL*)(HostControl* self, MessageHeader* record);
// Reads one cell into the ValueRecord; the table number is 8-bit in a 32-bit slot.
using GetValueFn = int32_t(VEMORA_STDCALL*)(HostControl* self, uint32_t table, int32_t row, uint32_t column,
                                            ValueRecord* value);
// Writes one cell from the ValueRecord.
using SetValueFn = int32_t(VEMORA_STDCALL*)(HostControl* self, uint32_t table, int32_t row, uint32_t column,
                                            ValueRecord* value);

// The host's operation table, as far as the plugin uses it. The host's table
// has further entries between and after these; they are never called.
struct HostOperations {
    void* entries0to2[3];
    GetPluginModuleFn getPluginModule;  // entry 3
    void* entry4;
    SetErrorFn setError;  // entry 5
    void* entry6;
    SendMessageFn sendMessage;  // entry 7
    void* entries8to20[13];
    GetValueFn getValue;  // entry 21
    SetValueFn setValue;  // entry 22
};

struct HostControl {
    const HostOperations* operations;
};

static_assert(offsetof(HostOperations, getPluginModule) == 3 * 4);
static_assert(offsetof(HostOperations, setError) == 5 * 4);
static_assert(offsetof(HostOperations, sendMessage) == 7 * 4);
static_assert(offsetof(HostOperations, getValue) == 21 * 4);
static_assert(offsetof(HostOperations, setValue) == 22 * 4);
static_assert(sizeof(HostOperations) == 23 * 4);
static_assert(sizeof(HostControl) == 4);

}  // namespace vemora
