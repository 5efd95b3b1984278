#include "text.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "host_error.h"

namespace vemora::standin {

namespace {

// Code page 1250, bytes 0x80 to 0xFF, as Unicode code points; 0 where the
// code page defines no character.
constexpr uint16_t CP1250_HIGH[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  //
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  //
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  //
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  //
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  //
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  //
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  //
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  //
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  //
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  //
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  //
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  //
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  //
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void appendUtf8(std::string& out, uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// The code point of the UTF-8 sequence at `at` and its length; 0 for a
// sequence that is not valid.
size_t decodeUtf8(std::string_view text, size_t at, uint32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0u) != 0x80u) return 0;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    const bool overlong = (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
    if (overlong || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

std::string escapedByte(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", byte);
    return text;
}

std::string convert(std::string_view cp1250, bool keepNewlines, bool quoting) {
    std::string out;
    for (const char c : cp1250) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += keepNewlines ? "\n" : "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += escapedByte(byte);
        } else if (quoting && (c == '"' || c == '\\')) {
            out += '\\';
            out += c;
        } else if (byte < 0x80) {
            out += c;
        } else if (const uint16_t codePoint = CP1250_HIGH[byte - 0x80]; codePoint != 0) {
            appendUtf8(out, codePoint);
        } else {
            out += escapedByte(byte);
        }
    }
    return out;
}

// Code page 1250 pairs most letters 0x20 apart (A-Z, 0xC0-0xDE but for the
// sign 0xD7); those in 0x8A-0xBC pair up irregularly.
char lowerCp1250(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
        return static_cast<char>(byte + 0x20);
    }
    constexpr unsigned char PAIRS[][2] = {{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},
                                          {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE}};
    for (const auto& pair : PAIRS)
        if (byte == pair[0]) return static_cast<char>(pair[1]);
    return c;
}

constexpr const char* MONTHS[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};

// The numbers of a text of the form YYYY-MM-DD, whether or not they name a day.
bool isoDateForm(std::string_view text, int& year, unsigned& month, unsigned& day) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    int fields[3] = {0, 0, 0};
    const size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int f = 0; f < 3; ++f) {
        for (size_t i = starts[f]; i < starts[f] + lengths[f]; ++i) {
            if (text[i] < '0' || text[i] > '9') return false;
            fields[f] = fields[f] * 10 + (text[i] - '0');
        }
    }
    year = fields[0];
    month = static_cast<unsigned>(fields[1]);
    day = static_cast<unsigned>(fields[2]);
    return true;
}

std::string systemReason(int errorNumber) { return std::generic_category().message(errorNumber); }

}  // namespace

std::optional<std::string> cp1250ToUtf8(std::string_view cp1250) {
    std::string out;
    for (const char c : cp1250) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else if (CP1250_HIGH[byte - 0x80] != 0) {
            appendUtf8(out, CP1250_HIGH[byte - 0x80]);
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<std::string> utf8ToCp1250(std::string_view utf8) {
    std::string out;
    for (size_t at = 0; at < utf8.size();) {
        uint32_t codePoint = 0;
        const size_t length = decodeUtf8(utf8, at, codePoint);
        if (length == 0) return std::nullopt;
        at += length;
        if (codePoint < 0x80) {
            out += static_cast<char>(codePoint);
            continue;
        }
        size_t index = 0;
        while (index < 128 && CP1250_HIGH[index] != codePoint) ++index;
        if (index == 128) return std::nullopt;
        out += static_cast<char>(0x80 + index);
    }
    return out;
}

size_t validUtf8Length(std::string_view text) {
    size_t at = 0;
    uint32_t codePoint = 0;
    while (at < text.size()) {
        const size_t length = decodeUtf8(text, at, codePoint);
        if (length == 0) break;
        at += length;
    }
    return at;
}

std::string displayText(std::string_view cp1250, bool keepNewlines) { return convert(cp1250, keepNewlines, false); }

std::string quotedText(std::string_view cp1250) { return '"' + convert(cp1250, false, true) + '"'; }

std::string quotedUtf8(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += escapedByte(byte);
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

bool isControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

bool sameWordIgnoringCase(std::string_view utf8, std::string_view otherUtf8) {
    const std::optional<std::string> one = utf8ToCp1250(utf8);
    const std::optional<std::string> other = utf8ToCp1250(otherUtf8);
    if (!one || !other) return utf8 == otherUtf8;
    if (one->size() != other->size()) return false;
    for (size_t i = 0; i < one->size(); ++i)
        if (lowerCp1250((*one)[i]) != lowerCp1250((*other)[i])) return false;
    return true;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
        if (end == std::string_view::npos) return lines;
        start = end + 1;
    }
}

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A quoted token's source: plain runs to `onText`, each escape's byte to
// `onByte` (so that raw bytes need no conversion).
template <class OnText, class OnByte>
void walkEscapes(std::string_view source, OnText onText, OnByte onByte) {
    size_t runStart = 0;
    for (size_t i = 0; i + 1 < source.size(); ++i) {
        if (source[i] != '\\') continue;
        onText(source.substr(runStart, i - runStart));
        const char next = source[i + 1];
        if (next == 'n' || next == 't') {
            onByte(next == 'n' ? '\n' : '\t');
        } else if (next == 'x' && i + 3 < source.size() && hexValue(source[i + 2]) >= 0 && hexValue(source[i + 3]) >= 0) {
            onByte(static_cast<char>(hexValue(source[i + 2]) * 16 + hexValue(source[i + 3])));
            i += 2;
        } else {
            onByte(next);  // \" \\ and any other escaped character stand for themselves
        }
        runStart = ++i + 1;
    }
    onText(source.substr(runStart < source.size() ? runStart : source.size()));
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

std::vector<Token> tokenizeLine(std::string_view line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (true) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i >= line.size() || line[i] == '#') return tokens;
        Token token;
        token.quoted = line[i] == '"';
        const size_t start = token.quoted ? ++i : i;
        if (token.quoted) {
            while (i < line.size() && line[i] != '"') i += line[i] == '\\' ? 2 : 1;
            if (i >= line.size()) throw HostError("a quoted text is not closed");
            token.source = std::string(line.substr(start, i - start));
            if (++i < line.size() && !isBlank(line[i]) && line[i] != '#') {
                throw HostError("a blank must follow a closing quote");
            }
        } else {
            while (i < line.size() && !isBlank(line[i])) ++i;
            token.source = std::string(line.substr(start, i - start));
        }
        tokens.push_back(std::move(token));
    }
}

std::string tokenText(const Token& token) {
    if (!token.quoted) return token.source;
    std::string text;
    walkEscapes(token.source, [&](std::string_view run) { text += run; }, [&](char byte) { text += byte; });
    return text;
}

std::string tokenCp1250(const Token& token) {
    std::string converted;
    auto onText = [&](std::string_view run) {
        if (validUtf8Length(run) != run.size()) throw HostError("the text is not UTF-8");
        const std::optional<std::string> bytes = utf8ToCp1250(run);
        if (!bytes) throw HostError("the text holds a character that code page 1250 cannot hold");
        converted += *bytes;
    };
    if (token.quoted) {
        walkEscapes(token.source, onText, [&](char byte) { converted += byte; });
    } else {
        onText(token.source);
    }
    return converted;
}

std::optional<int64_t> commandNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    int64_t value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || stop != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<CivilDate> parseIsoDate(std::string_view text) {
    int year = 0;
    unsigned month = 0, day = 0;
    if (!isoDateForm(text, year, month, day)) return std::nullopt;
    const CivilDate date{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};
    if (!date.ok()) return std::nullopt;
    return date;
}

std::string whyNotADate(std::string_view text) {
    int year = 0;
    unsigned month = 0, day = 0;
    if (!isoDateForm(text, year, month, day)) return "is not a date of the form YYYY-MM-DD";
    char number[16];
    if (month < 1 || month > 12) {
        std::snprintf(number, sizeof number, "%02u", month);
        return std::string("is an impossible date: there is no month ") + number;
    }
    if (day < 1) return "is an impossible date: there is no day 00";
    const std::chrono::year_month_day_last last{std::chrono::year{year},
                                                std::chrono::month_day_last{std::chrono::month{month}}};
    std::snprintf(number, sizeof number, "%04d", year);
    return "is an impossible date: " + std::string(MONTHS[month - 1]) + " " + number + " has " +
           std::to_string(static_cast<unsigned>(last.day())) + " days";
}

std::string formatIsoDate(const CivilDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

int32_t packBirthDate(const CivilDate& date) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<int>(date.year())) << 16) |
                                (static_cast<unsigned>(date.month()) << 8) | static_cast<unsigned>(date.day()));
}

std::optional<CivilDate> unpackBirthDate(int32_t packed) {
    const auto bits = static_cast<uint32_t>(packed);
    if ((bits >> 16) > 9999) return std::nullopt;
    const CivilDate date{std::chrono::year{static_cast<int>(bits >> 16)}, std::chrono::month{(bits >> 8) & 0xFFu},
                         std::chrono::day{bits & 0xFFu}};
    if (!date.ok()) return std::nullopt;
    return date;
}

std::filesystem::path utf8Path(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::optional<std::string> readWholeFile(const std::string& name) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(utf8Path(name), error);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (error) throw HostError("cannot read " + name + ": " + error.message());
    // In the same words on every system (Windows would say "Permission denied").
    if (std::filesystem::is_directory(status)) throw HostError("cannot read " + name + ": " + systemReason(EISDIR));
    errno = 0;
    std::ifstream in(utf8Path(name), std::ios::binary);
    if (!in) throw HostError("cannot read " + name + ": " + systemReason(errno != 0 ? errno : EIO));
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw HostError("cannot read " + name + ": " + systemReason(EIO));
    return content;
}

std::string readExistingFile(const std::string& name) {
    std::optional<std::string> content = readWholeFile(name);
    if (!content) throw HostError("cannot read " + name + ": " + systemReason(ENOENT));
    return std::move(*content);
}

}  // namespace vemora::standin
