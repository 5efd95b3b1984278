// A failure the stand-in reports to its user as one line, then exits non-zero.
#pragma once

#include <stdexcept>
#include <string>

namespace vemora::standin {

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace vemora::standin
