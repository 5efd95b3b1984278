// The process's edge to its console: standard streams and arguments.
#pragma once

#include <string>
#include <vector>

namespace vemora::standin {

bool standardOutputIsTerminal();
bool standardInputIsTerminal();

// Standard input, output and error carry bytes exactly as written: UTF-8,
// lines ended by LF alone, on every platform.
void useBinaryStandardStreams();

// The program's arguments (after its name) in UTF-8.
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace vemora::standin
