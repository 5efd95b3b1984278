#include "checked_output.h"

namespace vemora::standin {

namespace {

const char* streamName(StandardStream stream) {
    return stream == StandardStream::Output ? "standard output" : "standard error";
}

}  // namespace

CheckedOutput::CheckedOutput(StandardStream stream, size_t bufferSize) : stream_(stream), buffer_(bufferSize) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

CheckedOutput::~CheckedOutput() { drain(); }  // too late to tell anyone: the run has ended

bool CheckedOutput::drain() {
    const size_t pending = static_cast<size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());  // emptied, written or not
    if (failure_) return false;  // nothing more after a loss
    std::string reason;
    if (pending > 0 && !writeStandardStream(stream_, buffer_.data(), pending, reason)) {
        failure_ = std::string("cannot write to ") + streamName(stream_) + ": " + reason;
        return false;
    }
    return true;
}

CheckedOutput::int_type CheckedOutput::overflow(int_type c) {
    if (!drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (buffer_.empty()) {
        const char byte = traits_type::to_char_type(c);
        std::string reason;
        if (!writeStandardStream(stream_, &byte, 1, reason)) {
            failure_ = std::string("cannot write to ") + streamName(stream_) + ": " + reason;
            return traits_type::eof();
        }
        return c;
    }
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int CheckedOutput::sync() { return drain() ? 0 : -1; }

void requireWritten(std::ostream& stream) {
    stream.flush();
    if (!stream.bad()) return;
    const auto* checked = dynamic_cast<const CheckedOutput*>(stream.rdbuf());
    if (checked != nullptr && checked->failure()) throw OutputFailed(*checked->failure());
    throw OutputFailed("cannot write the output");
}

}  // namespace vemora::standin
