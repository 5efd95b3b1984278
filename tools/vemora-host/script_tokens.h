// Lines of the stand-in's command language and of its state file: words
// separated by blanks, or double-quoted texts in which \" \\ \n \t and \xNN
// (one byte of the plugin's code page, for bytes no character stands for)
// may be written. A "#" outside quotes starts a comment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vemora::standin {

struct Token {
    std::string source;  // as written, between the quotes when quoted
    bool quoted = false;
};

// nullopt, with a reason in `error`, for an unclosed quote.
std::optional<std::vector<Token>> tokenizeLine(std::string_view line, std::string& error);

// The token as UTF-8 text (escapes resolved; \xNN gives that byte).
std::string tokenText(const Token& token);
// The token as a plugin text in code page 1250; nullopt, with a reason in
// `error`, when it is not UTF-8 or holds a character the code page lacks.
std::optional<std::string> tokenCp1250(const Token& token, std::string& error);

// A number as commands write it: decimal with an optional sign, or 0x and
// hexadecimal digits; nullopt for anything else (or beyond 64 bits).
std::optional<int64_t> commandNumber(std::string_view text);

}  // namespace vemora::standin
