#include "birth_date_text.h"

#include "date_text.h"

namespace vemora::standin {

namespace {

// One to `most` digits, then `separator` (or the end when it is '\0').
bool number(std::string_view text, size_t& at, size_t most, char separator, int& value) {
    const size_t start = at;
    value = 0;
    while (at < text.size() && at - start < most && text[at] >= '0' && text[at] <= '9') {
        value = value * 10 + (text[at] - '0');
        ++at;
    }
    if (at == start) return false;
    if (separator == '\0') return at == text.size();
    if (at >= text.size() || text[at] != separator) return false;
    ++at;
    return true;
}

// The numbers of a day-first date, DD.MM.YYYY or DD-MM-YYYY.
std::optional<CivilDate> dayFirstForm(std::string_view text) {
    for (const char separator : {'.', '-'}) {
        size_t at = 0;
        CivilDate date;
        if (number(text, at, 2, separator, date.day) && number(text, at, 2, separator, date.month) &&
            text.size() - at == 4 && number(text, at, 4, '\0', date.year)) {
            return date;
        }
    }
    return std::nullopt;
}

std::optional<CivilDate> dateForm(std::string_view text) {
    if (std::optional<CivilDate> iso = parseIsoDateForm(text)) return iso;
    return dayFirstForm(text);
}

}  // namespace

std::optional<CivilDate> parseBirthDate(std::string_view text) {
    const std::optional<CivilDate> date = dateForm(text);
    if (!date || date->day < 1 || date->day > daysInMonth(date->year, date->month)) return std::nullopt;
    return date;
}

bool hasBirthDateForm(std::string_view text) { return dateForm(text).has_value(); }

std::string whyNotABirthDate(std::string_view text) {
    const std::optional<CivilDate> numbers = dateForm(text);
    if (!numbers) return std::string("is not a date (") + BIRTH_DATE_FORMS + ")";
    return whyImpossible(*numbers);
}

}  // namespace vemora::standin
