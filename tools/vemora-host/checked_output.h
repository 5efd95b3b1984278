// Standard output and standard error as the stand-in writes them, every
// write checked. A write that fails or stops short (a full disk, /dev/full,
// a pipe closed at its other end) is kept as the stream's failure, and the
// stream takes nothing more: output cut in the middle is never passed off
// as whole. The run asks after every command (requireWritten) and ends with
// exit status 1 when a write failed, saving nothing it had not saved.
#pragma once

#include <optional>
#include <ostream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

namespace vemora::standin {

enum class StandardStream { Output, Errors };

class CheckedOutput : public std::streambuf {
public:
    CheckedOutput(StandardStream stream, size_t bufferSize);
    ~CheckedOutput() override;
    CheckedOutput(const CheckedOutput&) = delete;
    CheckedOutput& operator=(const CheckedOutput&) = delete;

    // "cannot write to standard output: REASON" once a write failed.
    const std::optional<std::string>& failure() const { return failure_; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool drain();

    StandardStream stream_;
    std::vector<char> buffer_;
    std::optional<std::string> failure_;
};

// One per platform: the whole of `size` bytes to the process's standard
// output or error; false, with the system's reason, when it cannot.
bool writeStandardStream(StandardStream stream, const char* data, size_t size, std::string& reason);

// A failed write to standard output or error: not a HostError, so that no
// typed session goes on after it.
class OutputFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Flushes the stream and throws OutputFailed when anything written to it
// was lost (the stream's reason when it is a CheckedOutput).
void requireWritten(std::ostream& stream);

}  // namespace vemora::standin
