#include "birthday/notice_text.h"

#include "host/tables.h"

namespace vemora {

namespace {

constexpr std::string_view HEADING = "Dziś urodziny obchodzą:";
constexpr std::string_view ENTRY_START = "\n- ";
constexpr std::string_view MARKER = "<b>";
constexpr std::string_view VERB_FEMALE = " skończyła ";
constexpr std::string_view VERB_MALE = " skończył ";
constexpr std::string_view YEARS = " lat";
constexpr std::string_view CLOSING_HER = "\nZłóż jej życzenia!!";
constexpr std::string_view CLOSING_HIM = "\nZłóż mu życzenia!!";
constexpr std::string_view CLOSING_THEM = "\nZłóż im życzenia!!";

constexpr unsigned char LOWER_CASE_A = 0x61;

// The age as a signed decimal, as "%d" writes it, without the C library's
// formatting (which would bring its printf into the library).
std::string_view decimal(int32_t value, char (&digits)[12]) {
    // Counted as unsigned so that the most negative value has a magnitude too.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    char* start = digits + sizeof digits;
    do {
        *--start = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) *--start = '-';
    return {start, static_cast<size_t>(digits + sizeof digits - start)};
}

}  // namespace

std::optional<Gender> genderFromCode(int32_t code) {
    if (code == GENDER_FEMALE) return Gender::Female;
    if (code == GENDER_MALE) return Gender::Male;
    return std::nullopt;
}

Gender genderFromName(std::string_view displayName) {
    if (displayName.empty()) return Gender::Male;  // no last letter to go by
    return static_cast<unsigned char>(displayName.back()) == LOWER_CASE_A ? Gender::Female : Gender::Male;
}

NoticeText::NoticeText(bool withMarkers) : withMarkers_(withMarkers) { text_.append(HEADING); }

void NoticeText::appendMarked(std::string_view part) {
    if (withMarkers_) text_.append(MARKER);
    text_.append(part);
    if (withMarkers_) text_.append(MARKER);
}

void NoticeText::addContact(std::string_view displayName) {
    text_.append(ENTRY_START);
    appendMarked(displayName);
    ++contacts_;
}

void NoticeText::addAge(Gender gender, int32_t age) {
    text_.append(gender == Gender::Female ? VERB_FEMALE : VERB_MALE);
    char digits[12];
    appendMarked(decimal(age, digits));
    text_.append(YEARS);
}

void NoticeText::close(std::optional<Gender> soleContactGender) {
    if (contacts_ == 1 && soleContactGender) {
        text_.append(*soleContactGender == Gender::Female ? CLOSING_HER : CLOSING_HIM);
    } else {
        text_.append(CLOSING_THEM);
    }
}

}  // namespace vemora
