// The terminal's line discipline does the editing and, on Ctrl-C, throws the
// typed line away and sends SIGINT. The handler here only notes it: the read
// waiting for the line returns EINTR (the handler is installed without
// SA_RESTART), and the session shows a fresh prompt instead of ending.
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "typed_lines.h"

namespace vemora::standin {

namespace {

volatile sig_atomic_t interrupted = 0;

void noteInterrupt(int) { interrupted = 1; }

class TerminalLines : public TypedLines {
public:
    TerminalLines() {
        struct sigaction action {};
        action.sa_handler = noteInterrupt;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;  // no SA_RESTART: the read must return
        sigaction(SIGINT, &action, &previous_);
    }
    ~TerminalLines() override { sigaction(SIGINT, &previous_, nullptr); }
    TerminalLines(const TerminalLines&) = delete;
    TerminalLines& operator=(const TerminalLines&) = delete;

    Result next(std::string& line) override {
        interrupted = 0;  // a Ctrl-C while a command ran is spent
        while (true) {
            const size_t end = pending_.find('\n');
            if (end != std::string::npos) {
                line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                return Result::Line;
            }
            char bytes[4096];
            const ssize_t count = ::read(STDIN_FILENO, bytes, sizeof bytes);
            if (count < 0 && errno == EINTR) {
                if (!interrupted) continue;
                interrupted = 0;
                pending_.clear();
                return Result::Cancelled;
            }
            if (count <= 0) {
                // Ctrl-D after some text hands that text over; the next one ends.
                if (pending_.empty()) return Result::End;
                line = std::move(pending_);
                pending_.clear();
                return Result::Line;
            }
            pending_.append(bytes, static_cast<size_t>(count));
        }
    }

private:
    struct sigaction previous_ {};
    std::string pending_;
};

}  // namespace

std::unique_ptr<TypedLines> terminalLines(std::istream&) { return std::make_unique<TerminalLines>(); }

}  // namespace vemora::standin
