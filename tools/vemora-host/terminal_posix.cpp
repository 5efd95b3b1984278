#include <signal.h>
#include <unistd.h>

#include "terminal.h"

namespace vemora::standin {

bool standardOutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }
bool standardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

void useBinaryStandardStreams() {}  // POSIX streams never translate

void reportBrokenPipesAsWriteErrors() { ::signal(SIGPIPE, SIG_IGN); }

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);  // a UTF-8 locale passes them as they are
}

}  // namespace vemora::standin
