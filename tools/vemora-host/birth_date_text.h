// A birth date as people write it: YYYY-MM-DD, or day first as a Polish
// spreadsheet writes it, DD.MM.YYYY or DD-MM-YYYY (a day or month of one
// digit too: 9.3.1990). The same forms in a CSV field and in
// "set contact N birth-date".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "civil_date.h"

namespace vemora::standin {

inline constexpr const char* BIRTH_DATE_FORMS = "YYYY-MM-DD, DD.MM.YYYY or DD-MM-YYYY";

std::optional<CivilDate> parseBirthDate(std::string_view text);
// Whether the text has one of the forms, naming a real day or not.
bool hasBirthDateForm(std::string_view text);
// Why parseBirthDate refuses the text: "is not a date (YYYY-MM-DD, ...)",
// or "is an impossible date: February 1990 has 28 days" (and the like).
std::string whyNotABirthDate(std::string_view text);

}  // namespace vemora::standin
