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

NoticeText::NoticeText(bool withMarkers) : text_(HEADING), withMarkers_(withMarkers) {}

void NoticeText::appendMarked(std::string_view part) {
    if (withMarkers_) text_ += MARKER;
    text_ += part;
    if (withMarkers_) text_ += MARKER;
}

void NoticeText::addContact(std::string_view displayName) {
    text_ += ENTRY_START;
    appendMarked(displayName);
    ++contacts_;
}

void NoticeText::addAge(Gender gender, int32_t age) {
    text_ += gender == Gender::Female ? VERB_FEMALE : VERB_MALE;
    appendMarked(std::to_string(age));
    text_ += YEARS;
}

void NoticeText::close(std::optional<Gender> soleContactGender) {
    if (contacts_ == 1 && soleContactGender) {
        text_ += *soleContactGender == Gender::Female ? CLOSING_HER : CLOSING_HIM;
    } else {
        text_ += CLOSING_THEM;
    }
}

}  // namespace vemora
