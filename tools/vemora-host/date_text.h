// Why a text the user gave is not a date, said so that the user can mend it:
// the wrong form, or a well-formed date no calendar has.
#pragma once

#include <string>
#include <string_view>

#include "civil_date.h"

namespace vemora::standin {

// For a text parseIsoDate refuses: "is not a date of the form YYYY-MM-DD",
// or "is an impossible date: February 2023 has 28 days" (and the like).
std::string whyNotADate(std::string_view text);

// For numbers that name no day: "is an impossible date: there is no month
// 13", "... there is no day 00", "... February 2023 has 28 days".
std::string whyImpossible(const CivilDate& numbers);

}  // namespace vemora::standin
