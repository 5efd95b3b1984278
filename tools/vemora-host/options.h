// The command line of vemora-host.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "civil_date.h"

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
    enum class Bold { Auto, Always, Never } bold = Bold::Auto;
    std::vector<CommandSource> sources;  // none: standard input
    bool help = false;
    // Read the state file line by line and seal it again after a hand edit;
    // runs no commands.
    bool acceptEdits = false;
    // Not an option: set when commands come from a person at a terminal
    // (standard input is one and no script or -e is given).
    bool interactive = false;
};

// Throws HostError for anything it cannot use.
Options parseOptions(const std::vector<std::string>& arguments);

std::string usageText();

}  // namespace vemora::standin
