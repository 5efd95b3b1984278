// The bytes of a text the plugin built, for comparing in tests; one that ran
// out of memory shows so.
#pragma once

#include <string>

#include "birthday/byte_text.h"

namespace vemora::testing {

inline std::string textOf(const ByteText& text) {
    return text.failed() ? "<out of memory>" : std::string(text.view());
}

}  // namespace vemora::testing
