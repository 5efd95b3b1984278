// The closing line of a state file, "end LINES CRC32": it counts the lines
// before it and holds the CRC-32 of their bytes (8 hex digits), so that a
// file cut short, damaged or changed since it was written is known as such.
// Blank lines after it (an editor's) are forgiven.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vemora::standin {

// "end N xxxxxxxx\n" for these lines.
std::string closingLine(std::string_view body);

struct SealedFile {
    std::string_view body;     // the lines before the closing line
    std::string_view closing;  // the closing line, without its line end
};

// The file split at its closing line; nullopt, with the reason in `fault`,
// when it has none: it ends in the middle of a line, or its last line is no
// closing line, as when it was cut short.
std::optional<SealedFile> splitAtClosingLine(std::string_view content, std::string& fault);

// Empty when the closing line vouches for the lines before it; else why not
// ("its lines do not match the checksum of its closing line", or the counts).
std::string sealFault(const SealedFile& file);

}  // namespace vemora::standin
