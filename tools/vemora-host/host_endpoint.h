// The host's side of the boundary: the control object handed to the plugin
// with MSG_INIT, and the answers to everything the plugin asks through it.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "host_events.h"
#include "host_model.h"
#include "record_trace.h"
#include "wire/host_binding.h"

namespace vemora::standin {

class HostEndpoint {
public:
    HostEndpoint(HostModel& model, HostEvents& events);
    HostEndpoint(const HostEndpoint&) = delete;
    HostEndpoint& operator=(const HostEndpoint&) = delete;

    wire::HostControl* control() { return binding_.control(); }
    void setModule(void* module) { module_ = module; }
    void setTrace(BoundaryTrace* trace) { trace_ = trace; }

    // A failure inside one of the host's answers (they must not throw into
    // the plugin); taken once, after the plugin has returned.
    std::optional<std::string> takeFailure();

    // A text the host answers stays valid while this many more are answered
    // after it: far longer than the plugin may rely on, as a forgiving host.
    static constexpr size_t KEPT_ANSWERS = 256;

    // Every call of the plugin's, through the binding.
    uint32_t onOperation(wire::OperationCall& call);

private:
    uint32_t answer(wire::OperationCall& call);
    uint32_t onRequest(const wire::Request& request);
    uint32_t onColumnRegister(const wire::DecodedRecord& record);
    uint32_t onNotifyShow(const wire::DecodedRecord& record);
    uint32_t onMessageNew(const wire::DecodedRecord& record);
    uint32_t onMessageQueue(const wire::DecodedRecord& record);
    uint32_t onActionAdd(const wire::DecodedRecord& record);
    uint32_t onIconRegister(const wire::DecodedRecord& record);
    uint32_t onActionSetStatus(const wire::DecodedRecord& record);
    uint32_t onActionGetValue(const wire::Request& request);
    uint32_t onGetValue(uint32_t table, int32_t row, uint32_t column, wire::ValueRecord& value);
    uint32_t onSetValue(uint32_t table, int32_t row, uint32_t column, const wire::ValueRecord& value);

    bool checkCell(bool writing, uint32_t table, int32_t row, uint32_t column);
    const char* keepAnswer(std::string text);
    void warn(const std::string& text) { events_.warning(text); }

    HostModel& model_;
    HostEvents& events_;
    wire::HostBinding<HostEndpoint> binding_{*this};
    void* module_ = nullptr;
    BoundaryTrace* trace_ = nullptr;
    std::deque<std::string> answers_;
    std::set<std::pair<uint32_t, uint32_t>> unknownColumnsSeen_;
    std::optional<std::string> failure_;
};

}  // namespace vemora::standin
