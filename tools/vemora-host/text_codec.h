// The stand-in's edge between the plugin's texts (code page 1250 bytes) and
// its own (UTF-8). One implementation per platform: iconv on Linux,
// MultiByteToWideChar and WideCharToMultiByte on Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vemora::standin {

// nullopt when the text holds a byte that code page 1250 leaves undefined.
std::optional<std::string> cp1250ToUtf8(std::string_view text);
// nullopt when the text is not UTF-8 or holds a character code page 1250 lacks.
std::optional<std::string> utf8ToCp1250(std::string_view text);

}  // namespace vemora::standin
