// The words a contact's gender may be written in, the same in a CSV field
// and in "set contact N gender": 1, female, f, kobieta or k for a woman; 2,
// male, m, mężczyzna (M) for a man; 0 or nothing when unknown. Any case.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vemora::standin {

// The host's gender code (0, 1 or 2) the UTF-8 word stands for.
std::optional<int32_t> genderCode(std::string_view word);

// For messages: the words, as a person may write them.
inline constexpr const char* GENDER_WORDS =
    "1, female, kobieta or K for a woman; 2, male, mężczyzna or M for a man; 0 or nothing when unknown";

}  // namespace vemora::standin
