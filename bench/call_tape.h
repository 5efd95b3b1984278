// A recording of the calls a plugin makes into a host, made by standing
// between the two: the plugin is handed the tape's control, whose operations
// keep a copy of each call (the record, what its p1 points to and every text,
// as the decoder read them) and pass the call on to the host. Played back
// against the host alone, the recording gives the cost of the host's answers
// without the plugin's work, with no clock read per call to distort it.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "wire/host_binding.h"

namespace vemora::bench {

class CallTape {
public:
    explicit CallTape(wire::HostControl* host) : host_(host) {}
    CallTape(const CallTape&) = delete;
    CallTape& operator=(const CallTape&) = delete;

    // The control to hand the plugin with MSG_INIT.
    wire::HostControl* control() { return binding_.control(); }

    // Makes every recorded call again, in order, against the host.
    void replay() const;
    size_t size() const { return calls_.size(); }

    // The binding's: keeps the call, then passes it on.
    uint32_t onOperation(wire::OperationCall& call);

private:
    struct Call {
        wire::OperationCall::Kind kind{};
        uint32_t table = 0;
        int32_t row = 0;
        uint32_t column = 0;
        wire::ValueRecord value{};
        std::string* record = nullptr;  // sendMessage: the copy, its pointers redirected to copies
    };

    // A copy that stays where it is.
    std::string* keep(const std::vector<uint8_t>& bytes);
    uint32_t keepText(const std::optional<std::string>& text);
    std::string* keepRecord(const wire::DecodedRecord& record);

    wire::HostControl* host_;
    wire::HostBinding<CallTape> binding_{*this};
    std::vector<Call> calls_;
    std::deque<std::string> storage_;
};

}  // namespace vemora::bench
