// One run of vemora-host: the command line, the state file read, the
// commands run against the real plugin, and the state file written when the
// run changed it.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "text.h"

namespace vemora::standin {

inline constexpr const char* DEFAULT_STATE_FILE = "vemora-host.state";

struct CommandSource {
    enum class Kind { File, StandardInput, Inline };
    Kind kind = Kind::File;
    std::string text;  // the file name, or the command itself
};

struct Options {
    std::string statePath = DEFAULT_STATE_FILE;
    std::optional<CivilDate> today;
    bool trace = false;
    std::string pluginPath;  // empty: the library beside the executable
    std::vector<CommandSource> sources;  // none: standard input
    bool help = false;
    // Not an option: commands come from a person at a terminal (standard
    // input is one, and no script or -e is given).
    bool typed = false;
};

// Throws CommandLineError for anything it cannot use.
Options parseOptions(const std::vector<std::string>& arguments);
std::string usageText();

// The exit status: 0; 1 after a one-line error on `errors` when the run
// failed, a write to `out` or `errors` that failed included, and then the
// state file is left as it was; 2 when the command line asks for what
// cannot be done. Typed at a terminal, a failed command is reported and
// the session goes on, the prompt on `errors`.
int runHost(const Options& options, std::istream& in, std::ostream& out, std::ostream& errors);

}  // namespace vemora::standin
