#include "csv_encoding.h"

#include <algorithm>
#include <cstdint>

#include "host_error.h"
#include "text_codec.h"
#include "text_display.h"

namespace vemora::standin {

namespace {

constexpr std::string_view UTF8_MARK = "\xEF\xBB\xBF";
constexpr std::string_view UTF16LE_MARK = "\xFF\xFE";
constexpr std::string_view UTF16BE_MARK = "\xFE\xFF";
constexpr const char* SAVE_AS_UTF8 = "save it from the spreadsheet as \"CSV UTF-8\"";

int lineOf(std::string_view text, size_t offset) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

void appendUtf8(std::string& out, uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// Read here rather than by the platform's converter, so that both builds
// take and refuse the same files.
std::string utf16ToUtf8(std::string_view bytes, bool littleEndian, const std::string& source) {
    const auto unit = [&](size_t at) -> uint32_t {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return littleEndian ? first | second << 8 : first << 8 | second;
    };
    const std::string broken = source + ": begins as UTF-16 but ";
    if (bytes.size() % 2 != 0) throw HostError(broken + "ends in half a character; " + SAVE_AS_UTF8);
    std::string out;
    out.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size(); at += 2) {
        uint32_t codePoint = unit(at);
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 &&
            unit(at + 2) <= 0xDFFF) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
            throw HostError(broken + "line " + std::to_string(lineOf(out, out.size())) +
                            " holds half of a character pair; " + SAVE_AS_UTF8);
        }
        appendUtf8(out, codePoint);
    }
    return out;
}

// UTF-16 without its mark has a zero byte beside nearly every letter of a
// header; a stray zero byte in a field is left for the reader to name.
bool looksLikeUnmarkedUtf16(std::string_view bytes) {
    const std::string_view start = bytes.substr(0, 256);
    return !start.empty() && static_cast<size_t>(std::count(start.begin(), start.end(), '\0')) * 4 >= start.size();
}

}  // namespace

DecodedCsv decodeCsv(std::string_view bytes, const std::string& sourceName) {
    if (bytes.substr(0, UTF16LE_MARK.size()) == UTF16LE_MARK) {
        return {utf16ToUtf8(bytes.substr(2), true, sourceName), "UTF-16 (little-endian), by its byte-order mark"};
    }
    if (bytes.substr(0, UTF16BE_MARK.size()) == UTF16BE_MARK) {
        return {utf16ToUtf8(bytes.substr(2), false, sourceName), "UTF-16 (big-endian), by its byte-order mark"};
    }
    if (looksLikeUnmarkedUtf16(bytes)) {
        throw HostError(sourceName + ": looks like UTF-16 without a byte-order mark (a zero byte beside each letter); " +
                        SAVE_AS_UTF8);
    }
    const bool marked = bytes.substr(0, UTF8_MARK.size()) == UTF8_MARK;
    if (marked) bytes.remove_prefix(UTF8_MARK.size());
    if (isValidUtf8(bytes)) return {std::string(bytes), ""};

    if (marked) {
        throw HostError(sourceName + ":" + std::to_string(lineOf(bytes, validUtf8Length(bytes))) +
                        ": not UTF-8, though the file begins with UTF-8's byte-order mark; " + SAVE_AS_UTF8 + " again");
    }
    if (std::optional<std::string> text = cp1250ToUtf8(bytes)) {
        return {std::move(*text), "windows-1250 (the plugin's code page), since it is not UTF-8"};
    }
    size_t undefined = 0;
    while (cp1250ToUtf8(bytes.substr(undefined, 1))) ++undefined;
    throw HostError(sourceName + ":" + std::to_string(lineOf(bytes, undefined)) + ": neither UTF-8 nor windows-1250 (" +
                    byteName(static_cast<unsigned char>(bytes[undefined])) + " is a byte windows-1250 leaves unused); " +
                    SAVE_AS_UTF8);
}

}  // namespace vemora::standin
