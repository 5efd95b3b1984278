#include "birthday/wish_template.h"

namespace vemora {

ByteText replaceAll(std::string_view text, std::string_view placeholder, std::string_view replacement) noexcept {
    ByteText result;
    if (placeholder.empty()) {
        result.append(text);
        return result;
    }
    // Searching the original from just past each match is the same as
    // searching the growing result from just past the inserted text: what
    // follows the insertion is the untouched rest of the original.
    size_t from = 0;
    for (size_t found = text.find(placeholder); found != std::string_view::npos;
         found = text.find(placeholder, from)) {
        result.append({text.data() + from, found - from});
        result.append(replacement);
        from = found + placeholder.size();
    }
    result.append({text.data() + from, text.size() - from});
    return result;
}

}  // namespace vemora
