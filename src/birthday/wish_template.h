// Turning a wish template into the wish for one contact, without the host.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vemora {

// Every occurrence of `placeholder` in `text` replaced by `replacement`, as
// an exact, case-sensitive byte match. After a replacement the search goes on
// right after the inserted text, so inserted text is never searched again in
// the same call. Built in one pass over the text; an empty placeholder
// matches nothing.
std::string replaceAll(std::string_view text, std::string_view placeholder, std::string_view replacement);

struct WishPlaceholder {
    std::string_view placeholder;
    uint32_t column;  // the contact column whose text replaces it
};

// The placeholders, in the order of their passes. Each pass works on what the
// previous ones left, so an inserted value may contain a later placeholder.
extern const WishPlaceholder WISH_PLACEHOLDERS[5];

// The contact's text for a column; it needs to stay valid only until the next call.
using ContactText = std::function<std::string_view(uint32_t column)>;

// Runs the passes in order, asking for each value just before its pass.
std::string expandWish(std::string wish, const ContactText& valueOf);

}  // namespace vemora
