// The edge between code page 1250 and UTF-8, and how the plugin's texts are
// shown and written in commands.
#include <gtest/gtest.h>

#include <string>

#include "script_tokens.h"
#include "text_case.h"
#include "text_codec.h"
#include "text_display.h"

namespace vemora::standin {
namespace {

TEST(TextCodec, PolishLettersConvertBothWays) {
    const std::string utf8 = "Dziś urodziny obchodzą: ĄĆĘŁŃÓŚŹŻ ąćęłńóśźż";
    const std::optional<std::string> cp1250 = utf8ToCp1250(utf8);
    ASSERT_TRUE(cp1250);
    EXPECT_EQ(cp1250->substr(0, 5), "Dzi\x9C ");
    EXPECT_EQ(cp1250->size(), utf8.size() - 20);  // each of the 20 letters takes one byte instead of two
    EXPECT_EQ(cp1250ToUtf8(*cp1250), utf8);
}

TEST(TextCodec, WhatTheOtherSideCannotHoldIsRefused) {
    // The five bytes code page 1250 leaves undefined, and the characters that
    // some tables map them to: refused by every build alike.
    for (const char* undefined : {"a\x81z", "a\x83z", "a\x88z", "a\x90z", "a\x98z"}) {
        EXPECT_FALSE(cp1250ToUtf8(undefined)) << displayText(undefined);
    }
    EXPECT_FALSE(utf8ToCp1250("a\u0081z"));
    EXPECT_FALSE(utf8ToCp1250("\xED\xA0\x80"));  // a surrogate is no character
    EXPECT_EQ(cp1250ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_FALSE(utf8ToCp1250("Ελλάδα"));  // no Greek in code page 1250
    EXPECT_FALSE(utf8ToCp1250("\xC3"));     // cut in the middle of a character
    EXPECT_EQ(utf8ToCp1250(""), "");
}

TEST(TextDisplay, EscapesEveryByteThatIsNoPrintableCharacter) {
    EXPECT_EQ(displayText("\x01\xAF\x79\x63\x7A\x65\x6E\x69\x61"), "\\x01Życzenia");
    EXPECT_EQ(displayText("a\x81" "b\nc"), "a\\x81b\nc");
    EXPECT_EQ(displayText("a\nb", false), "a\\nb");
    EXPECT_EQ(quotedText("say \"hi\" \\ \x03#BC"), "\"say \\\"hi\\\" \\\\ \\x03#BC\"");
}

TEST(TextDisplay, Utf8Validation) {
    EXPECT_TRUE(isValidUtf8("zażółć 😀"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));          // cut short
}

std::vector<Token> tokens(const std::string& line) {
    std::string error;
    std::optional<std::vector<Token>> words = tokenizeLine(line, error);
    EXPECT_TRUE(words) << error;
    return words.value_or(std::vector<Token>{});
}

TEST(ScriptTokens, WordsQuotesAndComments) {
    const auto words = tokens("  set contact 3 wish-text \"Sto lat, @name!\"   # a comment");
    ASSERT_EQ(words.size(), 5u);
    EXPECT_EQ(tokenText(words[4]), "Sto lat, @name!");
    EXPECT_TRUE(words[4].quoted);
    EXPECT_EQ(tokens("# only a comment").size(), 0u);
    EXPECT_EQ(tokenText(tokens("echo a#b")[1]), "a#b");  // "#" starts a comment only before a word
}

TEST(ScriptTokens, EscapesBecomeCodePage1250Bytes) {
    std::string error;
    const auto words = tokens(R"(x "Ż\n\"q\" \\ \x81\x03" C:\dir\file)");
    EXPECT_EQ(tokenCp1250(words[1], error), std::string("\xAF\n\"q\" \\ \x81\x03"));
    EXPECT_EQ(tokenText(words[2]), "C:\\dir\\file");  // unquoted words are taken as written
}

TEST(ScriptTokens, Faults) {
    std::string error;
    EXPECT_FALSE(tokenizeLine("echo \"open", error));
    EXPECT_EQ(error, "a quoted text is not closed");
    EXPECT_FALSE(tokenizeLine("echo \"a\"b", error));
    EXPECT_EQ(error, "a blank must follow a closing quote");
    EXPECT_FALSE(tokenCp1250(tokens("\"☺\"")[0], error));
    EXPECT_EQ(error, "the text holds a character that code page 1250 cannot hold");
}

TEST(TextCase, WordsMatchWithoutRegardToCasePolishLettersIncluded) {
    EXPECT_TRUE(sameWordIgnoringCase("ĄĆĘŁŃÓŚŹŻ Okienko ŠŤŽĽŔÄ", "ąćęłńóśźż OKIENKO šťžľŕä"));
    // Folding never makes two letters one.
    for (const auto& [one, other] : {std::pair("Ł", "L"), std::pair("Ż", "Ź"), std::pair("ż", "z"),
                                     std::pair("×", "÷"), std::pair("Ş", "ş ")}) {
        EXPECT_FALSE(sameWordIgnoringCase(one, other)) << one << " " << other;
    }
    // What the code page cannot hold is compared as it is.
    EXPECT_TRUE(sameWordIgnoringCase("Ωmega", "Ωmega"));
    EXPECT_FALSE(sameWordIgnoringCase("Ωmega", "ωmega"));
}

}  // namespace
}  // namespace vemora::standin
