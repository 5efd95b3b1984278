// One-line descriptions of host calls, so a test can state the whole sequence
// the host saw: "int 1/4/19", "text 1/4/8 size 0", "write 1/4/139033=30",
// "message 100".
#pragma once

#include <string>
#include <vector>

#include "fake_host.h"

namespace vemora::testing {

inline std::string describe(const HostCall& call) {
    const std::string cell =
        std::to_string(call.table) + "/" + std::to_string(call.row) + "/" + std::to_string(call.column);
    switch (call.kind) {
        case HostCall::Kind::GetValue:
            if (call.given.type == wire::VALUE_TEXT)
                return "text " + cell + " size " + std::to_string(static_cast<int32_t>(call.given.extra));
            return "int " + cell;
        case HostCall::Kind::SetValue:
            return "write " + cell + "=" + std::to_string(static_cast<int32_t>(call.given.value));
        case HostCall::Kind::SendMessage:
            return "message " + std::to_string(call.messageId());
        case HostCall::Kind::SetError:
            return "error " + std::to_string(call.errorCode);
        case HostCall::Kind::GetPluginModule:
            return "module";
    }
    return "?";
}

inline std::vector<std::string> describe(const std::vector<HostCall>& calls, size_t from = 0) {
    std::vector<std::string> lines;
    for (size_t i = from; i < calls.size(); ++i) lines.push_back(describe(calls[i]));
    return lines;
}

}  // namespace vemora::testing
