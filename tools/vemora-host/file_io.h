// Whole-file reads and safe whole-file writes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vemora::standin {

// A file name the stand-in holds as UTF-8, as the system's path (on Windows
// a narrow name would be read in the ANSI code page).
std::filesystem::path utf8Path(const std::string& name);

// nullopt when there is no such file; throws HostError when there is one
// that cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);
// Writes beside the file and renames over it, so a failed write leaves the
// old file as it was. Throws HostError.
void replaceWholeFile(const std::string& path, const std::string& content);

// Puts `from` in the place of `to` in one step, replacing it if it exists;
// false, changing nothing, when that fails. One per platform.
bool replaceFile(const std::string& from, const std::string& to, std::string& reason);

}  // namespace vemora::standin
