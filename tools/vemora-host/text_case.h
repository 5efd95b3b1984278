// Words compared as a person means them: without regard to case, Polish
// letters included ("okienko" is "Okienko", "PŁEĆ" is "płeć"). Both sides
// are folded in code page 1250, which holds every letter of the plugin's
// captions and of the Polish column names.
#pragma once

#include <string>
#include <string_view>

namespace vemora::standin {

// Each upper-case letter of code page 1250 as its lower-case one.
std::string foldCaseCp1250(std::string_view cp1250);

// Whether two UTF-8 texts are the same word but for case. A text code page
// 1250 cannot hold is compared byte for byte.
bool sameWordIgnoringCase(std::string_view utf8, std::string_view otherUtf8);

}  // namespace vemora::standin
