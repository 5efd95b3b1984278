// --trace: every record that crosses the boundary, in order, decoded by name
// and field, with its bytes in hex. Calls from the host into the plugin are
// marked "→", the plugin's calls into the host "←", answers "=".
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "host/host_control.h"
#include "host/messages.h"

namespace vemora::standin {

// The names of message and request ids ("MSG_INIT", "REQ_MESSAGE_NEW"), or "".
std::string messageName(uint32_t id, uint32_t net);

// A record that opens with a MessageHeader, as sent to IMessageProc or to
// sendMessage, with any record its p1 points to.
std::vector<std::string> describeMessage(const void* record);
std::vector<std::string> describeValueRecord(const ValueRecord& value, bool textAnswer);
// Hex bytes, 16 to a line.
std::vector<std::string> hexLines(const void* bytes, size_t size);

class BoundaryTrace {
public:
    explicit BoundaryTrace(std::ostream& out) : out_(out) {}

    // One call across the boundary and, later, its answer; calls made while
    // it runs are indented beneath it.
    void call(bool intoPlugin, const std::string& what, const std::vector<std::string>& details);
    void answer(const std::string& what, const std::vector<std::string>& details = {});

private:
    void line(int depth, const std::string& text);

    std::ostream& out_;
    int depth_ = 0;
};

}  // namespace vemora::standin
