#include "gender_words.h"

#include "text_case.h"
#include "wire/ids.h"

namespace vemora::standin {

std::optional<int32_t> genderCode(std::string_view word) {
    struct Word {
        const char* text;
        int32_t code;
    };
    constexpr int32_t UNKNOWN = 0, FEMALE = wire::GENDER_FEMALE, MALE = wire::GENDER_MALE;
    static constexpr Word WORDS[] = {
        {"", UNKNOWN},       {"0", UNKNOWN}, {"1", FEMALE},    {"female", FEMALE}, {"f", FEMALE},
        {"kobieta", FEMALE}, {"k", FEMALE},  {"2", MALE},      {"male", MALE},     {"m", MALE},
        {"mężczyzna", MALE},
    };
    for (const Word& known : WORDS)
        if (sameWordIgnoringCase(word, known.text)) return known.code;
    return std::nullopt;
}

}  // namespace vemora::standin
