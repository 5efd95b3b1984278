// Showing the plugin's texts to a person: code page 1250 converted to UTF-8,
// with every byte that is no printable character written as \xNN, so nothing
// the plugin sends is hidden or mangled.
#pragma once

#include <string>
#include <string_view>

namespace vemora::standin {

// Newlines are kept as they are when keepNewlines, else written as \n.
std::string displayText(std::string_view cp1250, bool keepNewlines = true);

// The same between double quotes, with " and \ escaped: one unambiguous line.
std::string quotedText(std::string_view cp1250);

// A text that is UTF-8 already (the stand-in's own, or the system's), quoted
// the same way: control characters as \xNN, " and \ escaped.
std::string quotedUtf8(std::string_view utf8);

// A control byte other than a tab (a line end counts), and how messages name
// a byte: "0x1B".
bool isControlByte(char c);
std::string byteName(unsigned char byte);

bool isValidUtf8(std::string_view text);
// How many bytes from the start are valid UTF-8 (the offset of the first fault).
size_t validUtf8Length(std::string_view text);

}  // namespace vemora::standin
