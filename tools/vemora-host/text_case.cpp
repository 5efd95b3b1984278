#include "text_case.h"

#include <optional>

#include "text_codec.h"

namespace vemora::standin {

namespace {

// Code page 1250 keeps most pairs 0x20 apart (A-Z, 0xC0-0xDE but for the
// sign 0xD7); the letters in 0x8A-0xBC pair up irregularly.
char lowerCp1250(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
        return static_cast<char>(byte + 0x20);
    }
    switch (byte) {
        case 0x8A: return '\x9A';  // Š
        case 0x8C: return '\x9C';  // Ś
        case 0x8D: return '\x9D';  // Ť
        case 0x8E: return '\x9E';  // Ž
        case 0x8F: return '\x9F';  // Ź
        case 0xA3: return '\xB3';  // Ł
        case 0xA5: return '\xB9';  // Ą
        case 0xAA: return '\xBA';  // Ş
        case 0xAF: return '\xBF';  // Ż
        case 0xBC: return '\xBE';  // Ľ
        default: return c;
    }
}

}  // namespace

std::string foldCaseCp1250(std::string_view cp1250) {
    std::string folded(cp1250);
    for (char& c : folded) c = lowerCp1250(c);
    return folded;
}

bool sameWordIgnoringCase(std::string_view utf8, std::string_view otherUtf8) {
    const std::optional<std::string> one = utf8ToCp1250(utf8);
    const std::optional<std::string> other = utf8ToCp1250(otherUtf8);
    if (!one || !other) return utf8 == otherUtf8;
    return foldCaseCp1250(*one) == foldCaseCp1250(*other);
}

}  // namespace vemora::standin
