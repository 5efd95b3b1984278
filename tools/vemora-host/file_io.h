// Whole-file reads and safe whole-file writes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vemora::standin {

// A file name the stand-in holds as UTF-8, as the system's path (on Windows
// a narrow name would be read in the ANSI code page).
std::filesystem::path utf8Path(const std::string& name);
std::string utf8Name(const std::filesystem::path& path);

// nullopt when there is no such file; throws HostError "cannot read PATH:
// REASON" (the system's reason) when there is one that cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);
// The same for a file that must be there: its absence is an error too.
std::string readExistingFile(const std::string& path);

// The system's words for an errno value ("No such file or directory").
std::string systemReason(int errorNumber);

// For tests of a write cut off midway, as by a crash or a power cut: the
// write stops after `afterBytes` bytes of the new file, or (with neither
// set) once the new file is complete but before it takes the old one's
// place, and WriteStopped is thrown, the new file left as it is.
struct WriteStop {
    std::optional<size_t> afterBytes;
};
struct WriteStopped {};

// Puts `content` in the place of the file in one step, so that the file
// holds either its old content or the new, whatever happens midway. A
// symbolic link is followed: its target is replaced, the link kept. The new
// content is written beside the target (its name + ".new"), given the
// target's permission bits, flushed to the disk, then renamed over the
// target. Throws HostError; the old file is then as it was.
void replaceWholeFile(const std::string& path, std::string_view content, const WriteStop* stop = nullptr);

// The file a chain of symbolic links ends at (the path itself when it is
// none); throws HostError for a loop.
std::filesystem::path followLinks(const std::filesystem::path& path);

// One per platform. Creates or truncates the file, writes `content`, gives it
// `permissions` when set (else the system's default for a new file) and
// flushes it to the disk. Throws HostError.
void writeDurably(const std::filesystem::path& path, std::string_view content,
                  std::optional<std::filesystem::perms> permissions);
// Puts `from` in the place of `to` in one step, replacing it if it exists,
// and makes the change to the folder durable; false, changing nothing, when
// that fails.
bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& reason);

}  // namespace vemora::standin
