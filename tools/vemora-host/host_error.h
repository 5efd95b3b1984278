// A failure the stand-in reports to its user as one line, then exits non-zero.
#pragma once

#include <stdexcept>
#include <string>

namespace vemora::standin {

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

// Something the command line asks that cannot be done: exit status 2, as for
// a command line that cannot be read, rather than 1 for a failure of the run.
class CommandLineError : public HostError {
public:
    using HostError::HostError;
};

}  // namespace vemora::standin
