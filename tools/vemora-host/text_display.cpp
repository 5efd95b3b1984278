#include "text_display.h"

#include <cstdint>
#include <cstdio>

#include "text_codec.h"

namespace vemora::standin {

namespace {

std::string escapedByte(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", byte);
    return text;
}

bool isControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// A run of non-control bytes; whole when it converts, else byte by byte so
// that only the undefined bytes are escaped.
void appendRun(std::string& out, std::string_view run) {
    if (run.empty()) return;
    if (auto converted = cp1250ToUtf8(run)) {
        out += *converted;
        return;
    }
    for (char byte : run) {
        if (auto converted = cp1250ToUtf8(std::string_view(&byte, 1))) {
            out += *converted;
        } else {
            out += escapedByte(static_cast<unsigned char>(byte));
        }
    }
}

std::string convert(std::string_view text, bool keepNewlines, bool quoting) {
    std::string out;
    size_t runStart = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const unsigned char byte = end ? 0 : static_cast<unsigned char>(text[i]);
        const bool special = !end && (isControl(byte) || (quoting && (byte == '"' || byte == '\\')));
        if (!end && !special) continue;
        appendRun(out, text.substr(runStart, i - runStart));
        runStart = i + 1;
        if (end) break;
        if (byte == '\n' && keepNewlines) {
            out += '\n';
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else {
            out += escapedByte(byte);
        }
    }
    return out;
}

}  // namespace

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
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

size_t validUtf8Length(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        uint32_t codePoint = 0;
        if (lead < 0x80) {
            ++i;
            continue;
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
            return i;
        }
        if (i + length > text.size()) return i;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) return i;
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
        if (overlong || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return i;
        i += length;
    }
    return i;
}

bool isControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

std::string byteName(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

bool isValidUtf8(std::string_view text) { return validUtf8Length(text) == text.size(); }

}  // namespace vemora::standin
