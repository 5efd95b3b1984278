// UTF-8 to and from the UTF-16 that Windows' own functions take, for the
// Windows build's platform files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vemora::standin {

// nullopt when the text is not valid UTF-8 (or UTF-16).
std::optional<std::wstring> utf8ToWide(std::string_view text);
std::optional<std::string> wideToUtf8(std::wstring_view text);

// For file names and messages: invalid sequences become U+FFFD rather than failing.
std::wstring widePath(const std::string& utf8);

// The system's text for an error code (GetLastError), in UTF-8, without the trailing line break.
std::string systemErrorText(unsigned long code);

}  // namespace vemora::standin
