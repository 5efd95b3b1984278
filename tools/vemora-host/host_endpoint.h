// The host's side of the boundary: the control object handed to the plugin
// with MSG_INIT, and the answers to everything the plugin asks through it.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "call_tape.h"
#include "host/host_control.h"
#include "host/messages.h"
#include "host_binding.h"
#include "host_events.h"
#include "host_model.h"
#include "record_trace.h"

namespace vemora::standin {

class HostEndpoint {
public:
    HostEndpoint(HostModel& model, HostEvents& events);
    HostEndpoint(const HostEndpoint&) = delete;
    HostEndpoint& operator=(const HostEndpoint&) = delete;

    HostControl* control() { return binding_.control(); }
    void setModule(void* module) { module_ = module; }
    void setTrace(BoundaryTrace* trace) { trace_ = trace; }
    // Every call the plugin makes is also recorded on the tape, while one is set.
    void setTape(CallTape* tape) { tape_ = tape; }

    // A failure inside one of the host's answers (they must not throw into
    // the plugin); taken once, after the plugin has returned.
    std::optional<std::string> takeFailure();

    // A text the host answers stays valid while this many more are answered
    // after it (the plugin needs one across a read and a request at most).
    static constexpr size_t KEPT_ANSWERS = 256;

private:
    // The host's operations, called by the plugin through the binding.
    friend class HostBinding<HostEndpoint>;
    void* hostGetPluginModule();
    void hostSetError(int32_t code);
    uint32_t hostSendMessage(MessageHeader* record);
    int32_t hostGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value);
    int32_t hostSetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value);

    uint32_t onMessage(const void* record);
    uint32_t onNotifier(const void* record, uint16_t size);
    uint32_t onRequest(uint32_t id, uint32_t p1);
    uint32_t onColumnRegister(const void* record, uint16_t size);
    uint32_t onMessageNew(uint32_t p1);
    uint32_t onMessageQueue(uint32_t p1);
    uint32_t onActionAdd(uint32_t p1);
    uint32_t onIconRegister(uint32_t p1);
    uint32_t onActionSetStatus(uint32_t p1);
    uint32_t onActionGetValue(uint32_t p1);
    int32_t onGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value);
    int32_t onSetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value);

    bool checkCell(bool writing, uint32_t table, int32_t row, uint32_t column);
    const char* keepAnswer(std::string text);
    std::string pluginText(uint32_t address, const char* what);
    void warn(const std::string& text) { events_.warning(text); }
    void fail(const char* operation);

    HostModel& model_;
    HostEvents& events_;
    HostBinding<HostEndpoint> binding_{*this};
    void* module_ = nullptr;
    BoundaryTrace* trace_ = nullptr;
    CallTape* tape_ = nullptr;
    std::deque<std::string> answers_;
    std::set<std::pair<uint32_t, uint32_t>> unknownColumnsSeen_;
    std::optional<std::string> failure_;
};

}  // namespace vemora::standin
