// The stand-in's texts, dates and files. Its own texts are UTF-8; the
// plugin's are code page 1250, converted here by one table on both builds.
// Dates are <chrono> civil dates, written YYYY-MM-DD.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vemora::standin {

// nullopt when the text holds a byte code page 1250 leaves undefined.
std::optional<std::string> cp1250ToUtf8(std::string_view cp1250);
// nullopt when the text is not UTF-8 or holds a character code page 1250 lacks.
std::optional<std::string> utf8ToCp1250(std::string_view utf8);
// How many bytes from the start are valid UTF-8 (the offset of the first fault).
size_t validUtf8Length(std::string_view text);

// A plugin text for a person: UTF-8, each byte that is no printable
// character written as \xNN, so nothing the plugin sends is hidden. Line
// ends are kept when keepNewlines, else written as \n.
std::string displayText(std::string_view cp1250, bool keepNewlines = true);
// The same between double quotes, " and \ escaped: one unambiguous line.
std::string quotedText(std::string_view cp1250);
// A UTF-8 text (the user's, or the system's) quoted the same way.
std::string quotedUtf8(std::string_view utf8);

// "0x0012ABCD", as the trace and the answers show a word.
std::string hex32(uint32_t value);
// A control byte other than a tab (a line end counts).
bool isControlByte(char c);
// Two UTF-8 words alike but for case, as code page 1250 pairs its letters.
bool sameWordIgnoringCase(std::string_view utf8, std::string_view otherUtf8);
// The text cut at each "\n"; one empty line for an empty text.
std::vector<std::string_view> splitLines(std::string_view text);

// Lines of the command language and of the state file: words separated by
// blanks, or double-quoted texts in which \" \\ \n \t and \xNN (one byte of
// the plugin's code page) may be written. A "#" outside quotes starts a
// comment.
struct Token {
    std::string source;  // as written, between the quotes when quoted
    bool quoted = false;
};
// Throws HostError for an unclosed quote.
std::vector<Token> tokenizeLine(std::string_view line);
// The token as UTF-8 (escapes resolved; \xNN gives that byte).
std::string tokenText(const Token& token);
// The token as a plugin text in code page 1250; throws HostError when it is
// not UTF-8 or holds a character the code page lacks.
std::string tokenCp1250(const Token& token);
// Decimal with an optional sign, or 0x and hexadecimal digits.
std::optional<int64_t> commandNumber(std::string_view text);

using CivilDate = std::chrono::year_month_day;

// Exactly "YYYY-MM-DD" naming a real day.
std::optional<CivilDate> parseIsoDate(std::string_view text);
// Why parseIsoDate refuses the text: "is not a date of the form YYYY-MM-DD",
// or "is an impossible date: February 2023 has 28 days".
std::string whyNotADate(std::string_view text);
std::string formatIsoDate(const CivilDate& date);
// The host's packed birth-date column: year in bits 31-16, month 15-8, day 7-0.
int32_t packBirthDate(const CivilDate& date);
// The date a packed value holds, when it names a real day.
std::optional<CivilDate> unpackBirthDate(int32_t packed);

// A file name held as UTF-8, as the system's path (a narrow name on
// Windows would be read in the ANSI code page).
std::filesystem::path utf8Path(const std::string& name);
// The whole file; nullopt when there is none. Throws HostError "cannot read
// NAME: REASON" when there is one that cannot be read.
std::optional<std::string> readWholeFile(const std::string& name);
// The same for a file that must be there.
std::string readExistingFile(const std::string& name);

}  // namespace vemora::standin
