// The other side of the boundary, for the hosts we write ourselves (the
// stand-in, the tests' recording host, the fuzzer's host): a HostControl whose
// operation table forwards each call, in the boundary's calling convention,
// to member functions of one host object:
//   void* hostGetPluginModule();
//   void hostSetError(int32_t code);
//   uint32_t hostSendMessage(MessageHeader* record);
//   int32_t hostGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value);
//   int32_t hostSetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value);
// The plugin itself never includes this.
#pragma once

#include <cstdint>

#include "host/host_control.h"

namespace vemora {

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
    struct Control : HostControl {
        Host* owner = nullptr;
    };
    static Host& of(HostControl* self) { return *static_cast<Control*>(self)->owner; }

    static void* VEMORA_STDCALL getPluginModule(HostControl* self) { return of(self).hostGetPluginModule(); }
    static void VEMORA_STDCALL setError(HostControl* self, int32_t code) { of(self).hostSetError(code); }
    static uint32_t VEMORA_STDCALL sendMessage(HostControl* self, MessageHeader* record) {
        return of(self).hostSendMessage(record);
    }
    static int32_t VEMORA_STDCALL getValue(HostControl* self, uint32_t table, int32_t row, uint32_t column,
                                           ValueRecord* value) {
        return of(self).hostGetValue(table, row, column, value);
    }
    static int32_t VEMORA_STDCALL setValue(HostControl* self, uint32_t table, int32_t row, uint32_t column,
                                           ValueRecord* value) {
        return of(self).hostSetValue(table, row, column, value);
    }

    HostOperations operations_{};
    Control control_{};
};

}  // namespace vemora
