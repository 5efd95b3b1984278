// The state file: the host's tables and the columns the plugin registered,
// kept between runs, as text a person can read and edit, one cell a line:
//   vemora-host-state 3
//   contacts N
//   column config|contact ID int DEFAULT | text "DEFAULT"
//   config COLUMN int VALUE | text "VALUE"
//   contact ROW COLUMN int VALUE | text "VALUE"
//   end
// Lines starting with "#" are comments. It is read strictly, every line or
// nothing: a line that does not read is named, and a file without its
// closing line (cut short) is refused; either way the file stays as it was.
// A hand edit that reads is simply taken.
#pragma once

#include <string>
#include <string_view>

#include "host_model.h"

namespace vemora::standin {

// At most this many contacts: a row count beyond it is refused rather than
// allocated.
inline constexpr int32_t MOST_CONTACTS = 1'000'000;

std::string serializeState(const HostModel& model);
// Fills the model's tables and columns; throws HostError "NAME:LINE: what".
void parseState(std::string_view content, const std::string& sourceName, HostModel& model);

// False, changing nothing, when there is no such file yet.
bool loadState(const std::string& path, HostModel& model);
// Writes the new file beside the old one (PATH.new) and renames it into place.
void saveState(const std::string& path, const HostModel& model);

}  // namespace vemora::standin
