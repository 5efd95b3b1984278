// The text of today's birthday notice, built without the host: a heading, one
// line per contact and a closing line that asks the user to send wishes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "birthday/byte_text.h"

namespace vemora {

enum class Gender { Female, Male };

// The gender the host's code states (1 female, 2 male); nullopt for any other code.
std::optional<Gender> genderFromCode(int32_t code);

// A guess from the display name: female when its last byte is a lower-case
// "a", male otherwise, also for an empty name. Bytes above 0x7F (Polish
// letters in code page 1250) are never taken for "a".
Gender genderFromName(std::string_view displayName);

class NoticeText {
public:
    // With markers, each name and each age is set between two "<b>" (the
    // notifier's markup); the information box gets the text without them.
    explicit NoticeText(bool withMarkers);

    // Starts a contact's line with the display name.
    void addContact(std::string_view displayName);
    // Finishes the current line with the verb for the gender and the age.
    void addAge(Gender gender, int32_t age);
    // Appends the closing line: to "her" or "him" when exactly one contact was
    // added and its gender is given, to "them" otherwise.
    void close(std::optional<Gender> soleContactGender);

    int contacts() const { return contacts_; }
    // Marked failed when memory ran out while it was built.
    const ByteText& text() const { return text_; }

private:
    void appendMarked(std::string_view part);

    ByteText text_;
    bool withMarkers_;
    int contacts_ = 0;
};

}  // namespace vemora
