#include "birthday/wish_template.h"

#include "host/tables.h"

namespace vemora {

const WishPlaceholder WISH_PLACEHOLDERS[5] = {
    {"@display", CNT_DISPLAY_NAME}, {"@nick", CNT_NICK}, {"@name", CNT_FIRST_NAME},
    {"@surname", CNT_SURNAME},      {"@age", CNT_AGE},
};

std::string replaceAll(std::string_view text, std::string_view placeholder, std::string_view replacement) {
    if (placeholder.empty()) return std::string(text);
    std::string result;
    result.reserve(text.size());
    // Searching the original from just past each match is the same as
    // searching the growing result from just past the inserted text: what
    // follows the insertion is the untouched rest of the original.
    size_t from = 0;
    for (size_t found = text.find(placeholder); found != std::string_view::npos;
         found = text.find(placeholder, from)) {
        result.append(text.data() + from, found - from);
        result.append(replacement.data(), replacement.size());
        from = found + placeholder.size();
    }
    result.append(text.data() + from, text.size() - from);
    return result;
}

std::string expandWish(std::string wish, const ContactText& valueOf) {
    for (const WishPlaceholder& pass : WISH_PLACEHOLDERS) {
        const std::string_view value = valueOf(pass.column);
        wish = replaceAll(wish, pass.placeholder, value);
    }
    return wish;
}

}  // namespace vemora
