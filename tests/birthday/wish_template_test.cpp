// Placeholder replacement in wish templates, apart from the host.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "birthday/wish_template.h"
#include "text_of.h"

namespace vemora {
namespace {

using testing::textOf;

std::string replaced(std::string_view text, std::string_view placeholder, std::string_view replacement) {
    return textOf(replaceAll(text, placeholder, replacement));
}

// The replacement done the plain way, in place: after each replacement the
// search goes on right after the inserted text.
std::string replacedInPlace(std::string text, const std::string& placeholder, const std::string& replacement) {
    for (size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + replacement.size())) {
        text.replace(at, placeholder.size(), replacement);
    }
    return text;
}

TEST(ReplaceAll, ReplacesEveryOccurrenceWhateverTheReplacementLength) {
    EXPECT_EQ(replaced("x@agey@age", "@age", "30"), "x30y30");
    EXPECT_EQ(replaced("@age@age", "@age", "30"), "3030");
    EXPECT_EQ(replaced("@nick@nick", "@nick", ""), "");
    EXPECT_EQ(replaced("<@nick>", "@nick", "Krzysztof Wielki"), "<Krzysztof Wielki>");
    EXPECT_EQ(replaced("", "@nick", "x"), "");
    EXPECT_EQ(replaced("no placeholder", "@nick", "x"), "no placeholder");
}

TEST(ReplaceAll, MatchesExactBytesOnly) {
    EXPECT_EQ(replaced("@Nick @NICK @nic", "@nick", "x"), "@Nick @NICK @nic");
    EXPECT_EQ(replaced("@namesake", "@name", "Jan"), "Jansake");
    EXPECT_EQ(replaced("@surname", "@name", "Jan"), "@surname");
    // Code page 1250 bytes pass through untouched, on either side.
    EXPECT_EQ(replaced("Sto lat, @name! \xbf" "yczenia", "@name", "\xa3ucja"),
              "Sto lat, \xa3ucja! \xbf" "yczenia");
}

TEST(ReplaceAll, InsertedTextIsNotSearchedAgain) {
    EXPECT_EQ(replaced("@nick", "@nick", "@nick@nick"), "@nick@nick");
    EXPECT_EQ(replaced("a-a", "a", "aa"), "aa-aa");
    // The inserted "@" and the following "nick" would form a new "@nick".
    EXPECT_EQ(replaced("@@nicknick", "@nick", "@"), "@@nick");
    // Overlapping occurrences: the search resumes after the first.
    EXPECT_EQ(replaced("aaa", "aa", "X"), "Xa");
}

TEST(ReplaceAll, EmptyPlaceholderChangesNothing) { EXPECT_EQ(replaced("abc", "", "x"), "abc"); }

TEST(ReplaceAll, AgreesWithReplacingInPlaceOnRandomTexts) {
    std::mt19937 random(20260309);
    const std::string alphabet = "@ab";
    auto randomText = [&](size_t minLength, size_t maxLength) {
        std::string text(std::uniform_int_distribution<size_t>(minLength, maxLength)(random), ' ');
        for (char& c : text) c = alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(random)];
        return text;
    };
    for (int i = 0; i < 5000; ++i) {
        const std::string text = randomText(0, 24);
        const std::string placeholder = randomText(1, 3);
        const std::string replacement = randomText(0, 5);
        ASSERT_EQ(replaced(text, placeholder, replacement), replacedInPlace(text, placeholder, replacement))
            << "text '" << text << "' placeholder '" << placeholder << "' replacement '" << replacement << "'";
    }
}

class WishExpansion : public ::testing::Test {
protected:
    // Contact columns: display 8, nick 17, first name 6, surname 7, age 139033.
    std::map<uint32_t, std::string> values = {
        {8, "Kuba"}, {17, "kubus"}, {6, "Jakub"}, {7, "Nowak"}, {139033, "30"}};
    std::vector<uint32_t> asked;

    std::string expand(const std::string& wish) {
        asked.clear();
        // noexcept, as expandWish asks: a test's failure to allocate ends the run.
        return textOf(expandWish(wish, [this](uint32_t column) noexcept {
            asked.push_back(column);
            return std::string_view(values[column]);
        }));
    }
};

TEST_F(WishExpansion, AllFivePlaceholdersAreFilledAskingInPassOrder) {
    EXPECT_EQ(expand("@display/@nick/@name/@surname/@age"), "Kuba/kubus/Jakub/Nowak/30");
    EXPECT_EQ(asked, (std::vector<uint32_t>{8, 17, 6, 7, 139033}));
    EXPECT_EQ(expand(""), "");
    EXPECT_EQ(asked.size(), 5u);  // asked even when there is nothing to fill
}

TEST_F(WishExpansion, LaterPassesSeeWhatEarlierOnesInserted) {
    values[8] = "Kuba @nick";
    values[17] = "@name z @age";
    EXPECT_EQ(expand("@display"), "Kuba Jakub z 30");
}

TEST_F(WishExpansion, ValueHoldingItsOwnOrAnEarlierPlaceholderStaysAsItIs) {
    values[17] = "@nick i @display";
    EXPECT_EQ(expand("Hej @nick"), "Hej @nick i @display");
}

}  // namespace
}  // namespace vemora
