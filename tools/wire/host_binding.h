// The host's end of the boundary for the hosts we write (the stand-in, the
// tests' recording host, the fuzz host): a HostControl whose operation table
// turns each of the plugin's calls, in the boundary's calling convention,
// into one OperationCall for one member function of the host object:
//   uint32_t onOperation(OperationCall& call);
// whose answer is the operation's result as a 32-bit word. A record handed to
// sendMessage arrives decoded (requests.h).
#pragma once

#include <cstdint>

#include "wire/records.h"
#include "wire/requests.h"

namespace vemora::wire {

struct OperationCall {
    enum class Kind { GetPluginModule, SetError, SendMessage, GetValue, SetValue };
    explicit OperationCall(Kind kind) : kind(kind) {}

    Kind kind;
    int32_t errorCode = 0;          // SetError
    Request request;                // SendMessage: the record, decoded
    const void* record = nullptr;   // SendMessage: the record as handed over, to pass it on
    // GetValue and SetValue: the cell, and the plugin's own value record
    // (read it and, for GetValue, answer into it; it may be null).
    uint32_t table = 0;
    int32_t row = 0;
    uint32_t column = 0;
    ValueRecord* value = nullptr;
};

template <class Host>
class HostBinding {
public:
    explicit HostBinding(Host& host) {
        operations_.getPluginModule = &getPluginModule;
        operations_.setError = &setError;
        operations_.sendMessage = &sendMessage;
        operations_.getValue = &getValue;
        operations_.setValue = &setValue;
        control_.operations = &operations_;
        control_.owner = &host;
    }
    HostBinding(const HostBinding&) = delete;
    HostBinding& operator=(const HostBinding&) = delete;

    HostControl* control() { return &control_; }

private:
    using Kind = OperationCall::Kind;
    struct Control : HostControl {
        Host* owner = nullptr;
    };

    static uint32_t forward(HostControl* self, OperationCall& call) {
        return static_cast<Control*>(self)->owner->onOperation(call);
    }
    static uint32_t cell(HostControl* self, Kind kind, uint32_t table, int32_t row, uint32_t column,
                         ValueRecord* value) {
        OperationCall call(kind);
        call.table = table;
        call.row = row;
        call.column = column;
        call.value = value;
        return forward(self, call);
    }

    static void* VEMORA_WIRE_STDCALL getPluginModule(HostControl* self) {
        OperationCall call(Kind::GetPluginModule);
        return const_cast<void*>(addressOf(forward(self, call)));
    }
    static void VEMORA_WIRE_STDCALL setError(HostControl* self, int32_t code) {
        OperationCall call(Kind::SetError);
        call.errorCode = code;
        forward(self, call);
    }
    static uint32_t VEMORA_WIRE_STDCALL sendMessage(HostControl* self, MessageHeader* record) {
        OperationCall call(Kind::SendMessage);
        call.record = record;
        try {
            call.request = decodeRequest(record);
        } catch (...) {  // nothing may unwind into the plugin
            call.request.faults.push_back("the host could not copy the record");
        }
        return forward(self, call);
    }
    static int32_t VEMORA_WIRE_STDCALL getValue(HostControl* self, uint32_t table, int32_t row, uint32_t column,
                                                ValueRecord* value) {
        return static_cast<int32_t>(cell(self, Kind::GetValue, table, row, column, value));
    }
    static int32_t VEMORA_WIRE_STDCALL setValue(HostControl* self, uint32_t table, int32_t row, uint32_t column,
                                                ValueRecord* value) {
        return static_cast<int32_t>(cell(self, Kind::SetValue, table, row, column, value));
    }

    HostOperations operations_{};
    Control control_{};
};

}  // namespace vemora::wire
