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

// A write to a pipe whose reader has gone fails as any other failed write
// (and is reported so) instead of ending the process by a signal.
void reportBrokenPipesAsWriteErrors();

// The program's arguments (after its name) in UTF-8.
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace vemora::standin
