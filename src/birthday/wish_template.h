// Turning a wish template into the wish for one contact, without the host.
#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "birthday/byte_text.h"
#include "host/tables.h"

namespace vemora {

// Every occurrence of `placeholder` in `text` replaced by `replacement`, as
// an exact, case-sensitive byte match. After a replacement the search goes on
// right after the inserted text, so inserted text is never searched again in
// the same call. Built in one pass over the text; an empty placeholder
// matches nothing. When memory runs out the answer is marked failed.
ByteText replaceAll(std::string_view text, std::string_view placeholder, std::string_view replacement) noexcept;

struct WishPlaceholder {
    std::string_view placeholder;
    uint32_t column;  // the contact column whose text replaces it
};

// The placeholders, in the order of their passes. Each pass works on what the
// previous ones left, so an inserted value may contain a later placeholder.
inline constexpr WishPlaceholder WISH_PLACEHOLDERS[] = {
    {"@display", CNT_DISPLAY_NAME}, {"@nick", CNT_NICK}, {"@name", CNT_FIRST_NAME},
    {"@surname", CNT_SURNAME},      {"@age", CNT_AGE},
};

// Runs the passes in order on the template, asking `valueOf(column)` for each
// value just before its pass; a value needs to stay valid only until the next
// call. Every pass runs, even on an empty template. When memory runs out the
// answer is marked failed and no later value is asked for. Nothing here
// throws, `valueOf` included: so no caller, one built with exceptions
// either, gets code for an exception passing through.
template <class ContactText>
ByteText expandWish(std::string_view wishTemplate, ContactText valueOf) {
    static_assert(std::is_nothrow_invocable_r_v<std::string_view, ContactText&, uint32_t>,
                  "valueOf answers a column's text and never throws");
    ByteText wish;
    wish.append(wishTemplate);
    for (const WishPlaceholder& pass : WISH_PLACEHOLDERS) {
        if (wish.failed()) break;
        const std::string_view value = valueOf(pass.column);
        wish = replaceAll(wish.view(), pass.placeholder, value);
    }
    return wish;
}

}  // namespace vemora
