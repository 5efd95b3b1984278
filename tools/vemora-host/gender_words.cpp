#include "gender_words.h"

#include "text_case.h"

namespace vemora::standin {

std::optional<int32_t> genderCode(std::string_view word) {
    struct Word {
        const char* text;
        int32_t code;
    };
    static constexpr Word WORDS[] = {
        {"", 0},        {"0", 0},      {"1", 1},       {"female", 1}, {"f", 1},
        {"kobieta", 1}, {"k", 1},      {"2", 2},       {"male", 2},   {"m", 2},
        {"mężczyzna", 2},
    };
    for (const Word& known : WORDS)
        if (sameWordIgnoringCase(word, known.text)) return known.code;
    return std::nullopt;
}

}  // namespace vemora::standin
