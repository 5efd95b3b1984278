#include "script_tokens.h"

#include <charconv>

#include "text_codec.h"
#include "text_display.h"

namespace vemora::standin {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Walks a quoted token's source: plain text goes to `onText`, an escape's
// byte to `onByte` (raw bytes stay apart so they need no conversion).
template <class OnText, class OnByte>
void walkEscapes(std::string_view source, OnText onText, OnByte onByte) {
    size_t runStart = 0;
    for (size_t i = 0; i < source.size(); ++i) {
        if (source[i] != '\\' || i + 1 >= source.size()) continue;
        onText(source.substr(runStart, i - runStart));
        const char next = source[i + 1];
        if (next == 'n') {
            onByte('\n');
        } else if (next == 't') {
            onByte('\t');
        } else if (next == 'x' && i + 3 < source.size() && hexValue(source[i + 2]) >= 0 &&
                   hexValue(source[i + 3]) >= 0) {
            onByte(static_cast<char>(hexValue(source[i + 2]) * 16 + hexValue(source[i + 3])));
            i += 2;
        } else {
            onByte(next);  // \" \\ and any other escaped character stand for themselves
        }
        ++i;
        runStart = i + 1;
    }
    onText(source.substr(runStart < source.size() ? runStart : source.size()));
}

}  // namespace

std::optional<std::vector<Token>> tokenizeLine(std::string_view line, std::string& error) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (true) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i >= line.size() || line[i] == '#') break;
        Token token;
        if (line[i] == '"') {
            token.quoted = true;
            const size_t start = ++i;
            while (i < line.size() && line[i] != '"') i += line[i] == '\\' ? 2 : 1;
            if (i >= line.size()) {
                error = "a quoted text is not closed";
                return std::nullopt;
            }
            token.source = std::string(line.substr(start, i - start));
            ++i;
            if (i < line.size() && !isBlank(line[i]) && line[i] != '#') {
                error = "a blank must follow a closing quote";
                return std::nullopt;
            }
        } else {
            const size_t start = i;
            while (i < line.size() && !isBlank(line[i])) ++i;
            token.source = std::string(line.substr(start, i - start));
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::string tokenText(const Token& token) {
    if (!token.quoted) return token.source;
    std::string text;
    walkEscapes(token.source, [&](std::string_view run) { text += run; }, [&](char byte) { text += byte; });
    return text;
}

std::optional<std::string> tokenCp1250(const Token& token, std::string& error) {
    std::string converted;
    bool ok = true;
    auto onText = [&](std::string_view run) {
        if (!ok || run.empty()) return;
        if (!isValidUtf8(run)) {
            error = "the text is not UTF-8";
            ok = false;
        } else if (auto bytes = utf8ToCp1250(run)) {
            converted += *bytes;
        } else {
            error = "the text holds a character that code page 1250 cannot hold";
            ok = false;
        }
    };
    if (token.quoted) {
        walkEscapes(token.source, onText, [&](char byte) { converted += byte; });
    } else {
        onText(token.source);
    }
    if (!ok) return std::nullopt;
    return converted;
}

std::optional<int64_t> commandNumber(std::string_view text) {
    int64_t value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        begin += 2;
        base = 16;
    }
    const auto [stop, error] = std::from_chars(begin, end, value, base);
    if (error != std::errc() || stop != end || begin == end) return std::nullopt;
    return value;
}

}  // namespace vemora::standin
