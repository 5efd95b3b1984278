// --trace: every record that crosses the boundary, in order, decoded field by
// field as the protocol's table lays it out (wire/requests.h), with its bytes
// in hex. Calls from the host into the plugin are marked "→", the plugin's
// calls into the host "←", answers "=".
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "wire/requests.h"

namespace vemora::standin {

// A record as sent to IMessageProc or to sendMessage, with the record its p1
// points to.
std::vector<std::string> describeRequest(const wire::Request& request);
// A cell value; `answered`: the value as the host left it, a text's address followed.
std::vector<std::string> describeValueRecord(const wire::ValueRecord& value, bool answered);

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
