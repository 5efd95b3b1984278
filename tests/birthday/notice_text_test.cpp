// Building the notice text apart from the host.
#include <gtest/gtest.h>

#include <string>

#include "birthday/notice_text.h"
#include "text_of.h"

namespace vemora {
namespace {

using testing::textOf;

TEST(GenderChoice, OnlyCodesOneAndTwoStateAGender) {
    EXPECT_EQ(genderFromCode(1), Gender::Female);
    EXPECT_EQ(genderFromCode(2), Gender::Male);
    for (int32_t code : {0, 3, -1, 0x101, 0x102}) EXPECT_FALSE(genderFromCode(code).has_value()) << code;
}

TEST(GenderChoice, OnlyAFinalLowerCaseAIsFemale) {
    EXPECT_EQ(genderFromName("Anna"), Gender::Female);
    EXPECT_EQ(genderFromName("a"), Gender::Female);
    EXPECT_EQ(genderFromName("ANNA"), Gender::Male);
    EXPECT_EQ(genderFromName("Jan"), Gender::Male);
    EXPECT_EQ(genderFromName("Anna "), Gender::Male);
    EXPECT_EQ(genderFromName(""), Gender::Male);
    // Code page 1250 letters: "ą" (0xB9), "á" (0xE1, which is "a" + 0x80).
    EXPECT_EQ(genderFromName("Kasi\xb9"), Gender::Male);
    EXPECT_EQ(genderFromName("\xe1"), Gender::Male);
    EXPECT_EQ(genderFromName(std::string("Ann\0a", 5)), Gender::Female);
}

TEST(NoticeTextBuilding, ClosingLineAddressesOneContactOnlyWhenItsGenderIsKnown) {
    const std::string them = "\nZ\xb3\xf3\xbf im \xbf" "yczenia!!";
    NoticeText nobody(false);
    nobody.close(Gender::Female);
    EXPECT_EQ(textOf(nobody.text()), "Dzi\x9c urodziny obchodz\xb9:" + them);

    NoticeText unknown(false);
    unknown.addContact("Ola");
    unknown.close(std::nullopt);
    EXPECT_EQ(textOf(unknown.text()), "Dzi\x9c urodziny obchodz\xb9:\n- Ola" + them);

    NoticeText two(false);
    two.addContact("Ewa");
    two.addContact("Ola");
    two.close(Gender::Female);
    EXPECT_EQ(two.contacts(), 2);
    EXPECT_EQ(textOf(two.text()), "Dzi\x9c urodziny obchodz\xb9:\n- Ewa\n- Ola" + them);
}

TEST(NoticeTextBuilding, MarkersEncloseEachNameAndAgeOnlyWhenAsked) {
    NoticeText marked(true);
    marked.addContact("Kuba \xa3");
    marked.addAge(Gender::Male, -12);
    EXPECT_EQ(textOf(marked.text()), "Dzi\x9c urodziny obchodz\xb9:\n- <b>Kuba \xa3<b> sko\xf1" "czy\xb3 <b>-12<b> lat");

    NoticeText plain(false);
    plain.addContact("Kuba");
    plain.addAge(Gender::Female, 7);
    EXPECT_EQ(textOf(plain.text()).find("<b>"), std::string::npos);
}

}  // namespace
}  // namespace vemora
