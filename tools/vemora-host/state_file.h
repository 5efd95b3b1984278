// The state file: the host's tables and the columns plugins registered, kept
// between runs so that a setting made in one run holds in the next. It is
// UTF-8 text, one cell a line:
//   vemora-host-state 2
//   contacts N
//   column config|contact ID int DEFAULT | text "DEFAULT"
//   config COLUMN int VALUE | text "VALUE"
//   contact ROW COLUMN int VALUE | text "VALUE"
//   end LINES CRC32
// Lines starting with "#" are comments. The closing line (state_seal.h)
// counts the lines before it and holds the CRC-32 of their bytes, so a file
// cut short or changed is refused whole rather than read in part. A file
// edited by hand is refused the same way, with the command that accepts the
// edits once every line reads.
#pragma once

#include <string>
#include <string_view>

#include "file_io.h"
#include "host_model.h"

namespace vemora::standin {

std::string serializeState(const HostModel& model);
// Fills the model's tables and columns; throws HostError naming the line,
// and, for a file changed since it was written, how to accept the change.
void parseState(std::string_view content, const std::string& sourceName, HostModel& model);

// False, changing nothing, when the file does not exist yet. Throws HostError
// when it exists but cannot be read or understood.
bool loadState(const std::string& path, HostModel& model);
// Replaces the file in one step (see replaceWholeFile); `stop` is for tests.
// The model then counts as saved.
void saveState(const std::string& path, HostModel& model, const WriteStop* stop = nullptr);

// The command line that accepts the hand edits of the state file at `path`.
std::string acceptEditsCommand(const std::string& path);

// For a file edited by hand: reads every line strictly (a value given twice,
// or of the wrong kind for its column, is a fault too) and throws HostError
// naming the first fault and its line, or a file with no closing line (cut
// short?); else, when the closing line no longer vouches for the lines,
// writes the file again as it is with a fresh closing line. The file is
// otherwise left exactly as it was. Returns a line saying what was done.
std::string acceptStateEdits(const std::string& path);

}  // namespace vemora::standin
