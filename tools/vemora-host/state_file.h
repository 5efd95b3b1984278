// The state file: the host's tables and the columns plugins registered, kept
// between runs so that a setting made in one run holds in the next. It is
// UTF-8 text, one cell a line:
//   vemora-host-state 2
//   contacts N
//   column config|contact ID int DEFAULT | text "DEFAULT"
//   config COLUMN int VALUE | text "VALUE"
//   contact ROW COLUMN int VALUE | text "VALUE"
//   end LINES CRC32
// The closing line counts the lines before it and holds the CRC-32 of their
// bytes (8 hex digits), so a file cut short or changed is refused whole
// rather than read in part.
#pragma once

#include <string>
#include <string_view>

#include "file_io.h"
#include "host_model.h"

namespace vemora::standin {

std::string serializeState(const HostModel& model);
// Fills the model's tables and columns; throws HostError naming the line.
void parseState(std::string_view content, const std::string& sourceName, HostModel& model);

// False, changing nothing, when the file does not exist yet. Throws HostError
// when it exists but cannot be read or understood.
bool loadState(const std::string& path, HostModel& model);
// Replaces the file in one step (see replaceWholeFile); `stop` is for tests.
// The model then counts as saved.
void saveState(const std::string& path, HostModel& model, const WriteStop* stop = nullptr);

}  // namespace vemora::standin
