#include "state_seal.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "crc32.h"

namespace vemora::standin {

namespace {

constexpr std::string_view CLOSING = "end ";

size_t countLines(std::string_view text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

bool allOf(std::string_view text, bool (*test)(char)) {
    return !text.empty() && std::all_of(text.begin(), text.end(), test);
}

// "end DIGITS HEX8", as written.
bool isClosingForm(std::string_view line) {
    if (line.substr(0, CLOSING.size()) != CLOSING) return false;
    const std::string_view rest = line.substr(CLOSING.size());
    const size_t space = rest.find(' ');
    if (space == std::string_view::npos) return false;
    const std::string_view crc = rest.substr(space + 1);
    return allOf(rest.substr(0, space), [](char c) { return c >= '0' && c <= '9'; }) && crc.size() == 8 &&
           allOf(crc, [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); });
}

}  // namespace

std::string closingLine(std::string_view body) {
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(crc32(body)));
    return std::string(CLOSING) + std::to_string(countLines(body)) + " " + crc + "\n";
}

std::optional<SealedFile> splitAtClosingLine(std::string_view content, std::string& fault) {
    // What follows the last line end must be blank: anything else is a line cut off.
    size_t end = content.rfind('\n');
    end = end == std::string_view::npos ? 0 : end + 1;
    if (!isBlankLine(content.substr(end))) {
        fault = "it ends in the middle of a line";
        return std::nullopt;
    }
    // Blank lines at the end, down to the last line that holds something.
    size_t start = 0;
    while (end > 0) {
        const size_t previous = end >= 2 ? content.rfind('\n', end - 2) : std::string_view::npos;
        start = previous == std::string_view::npos ? 0 : previous + 1;
        if (!isBlankLine(content.substr(start, end - 1 - start))) break;
        end = start;
    }
    std::string_view last = content.substr(start, end == 0 ? 0 : end - 1 - start);
    if (!last.empty() && last.back() == '\r') last.remove_suffix(1);  // an editor that ends lines in CR LF
    if (last.substr(0, CLOSING.size()) != CLOSING) {
        fault = "its closing \"end\" line is missing";
        return std::nullopt;
    }
    if (!isClosingForm(last)) {
        fault = "its closing line is not of the form \"end LINES CHECKSUM\"";
        return std::nullopt;
    }
    return SealedFile{content.substr(0, start), last};
}

std::string sealFault(const SealedFile& file) {
    const std::string expected = closingLine(file.body);
    if (file.closing == std::string_view(expected).substr(0, expected.size() - 1)) return "";
    const std::string_view rest = file.closing.substr(CLOSING.size());
    const std::string_view counted = rest.substr(0, rest.find(' '));
    const std::string lines = std::to_string(countLines(file.body));
    if (counted != lines) {
        return "it has " + lines + " lines before its closing line, which counts " + std::string(counted);
    }
    return "its lines do not match the checksum of its closing line";
}

}  // namespace vemora::standin
