// Reading contacts from CSV: what is accepted, and that every fault names
// the file, the line and the field.
#include <gtest/gtest.h>

#include <string>

#include "contacts_csv.h"
#include "host_error.h"
#include "text_codec.h"

namespace vemora::standin {
namespace {

const std::string HEADER = std::string(CSV_HEADER) + "\n";

std::string errorOf(const std::string& content) {
    try {
        parseContactsCsv(content, "book.csv");
    } catch (const HostError& error) {
        return error.what();
    }
    return "(no error)";
}

std::string cp1250(const char* utf8) { return utf8ToCp1250(utf8).value(); }

TEST(ContactsCsv, ReadsEveryFieldAndConvertsTextsToCodePage1250) {
    const auto contacts =
        parseContactsCsv(HEADER + "12345,1,Łukasz Żółć,Łuki,Łukasz,Żółć,1990-03-09,2\n", "book.csv");
    ASSERT_EQ(contacts.size(), 1u);
    const ContactRecord& c = contacts[0];
    EXPECT_EQ(c.uid, "12345");
    EXPECT_EQ(c.net, 1u);
    EXPECT_EQ(c.display, cp1250("Łukasz Żółć"));
    EXPECT_EQ(c.display, "\xA3ukasz \xAF\xF3\xB3\xE6");
    EXPECT_EQ(c.nick, cp1250("Łuki"));
    EXPECT_EQ(c.firstName, cp1250("Łukasz"));
    EXPECT_EQ(c.surname, cp1250("Żółć"));
    EXPECT_EQ(c.birthDate, (CivilDate{1990, 3, 9}));
    EXPECT_EQ(c.gender, 2);
}

TEST(ContactsCsv, AcceptsQuotingCrLfAByteOrderMarkAndBlankLines) {
    const std::string content = "\xEF\xBB\xBF" + std::string(CSV_HEADER) +
                                "\r\n\r\n"
                                "1, 1 ,\"Kowalski, Jan\",\"\"\"Kowal\"\"\",Jan,Kowalski,,\r\n"
                                "2,1,\"Dwie\nlinie\",,,,,female\r\n"
                                "   \n";
    const auto contacts = parseContactsCsv(content, "book.csv");
    ASSERT_EQ(contacts.size(), 2u);
    EXPECT_EQ(contacts[0].display, "Kowalski, Jan");
    EXPECT_EQ(contacts[0].nick, "\"Kowal\"");
    EXPECT_EQ(contacts[0].net, 1u);
    EXPECT_FALSE(contacts[0].birthDate);
    EXPECT_EQ(contacts[0].gender, 0);
    EXPECT_EQ(contacts[1].display, "Dwie\nlinie");
    EXPECT_EQ(contacts[1].gender, 1);
}

TEST(ContactsCsv, HeaderMayNameFieldsInAnyOrderAndLeaveSomeOut) {
    const auto contacts = parseContactsCsv("Gender,UID,birth date\nm,77,2000-02-29\n", "book.csv");
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0].uid, "77");
    EXPECT_EQ(contacts[0].gender, 2);
    EXPECT_EQ(contacts[0].birthDate, (CivilDate{2000, 2, 29}));
    EXPECT_EQ(contacts[0].net, 0u);
    EXPECT_EQ(contacts[0].display, "");
}

TEST(ContactsCsv, FaultsNameTheLineAndTheField) {
    EXPECT_EQ(errorOf(HEADER + "1,1,A,,,,1990-03-09,1\n2,1,B,,,,1990-02-29,1\n"),
              "book.csv:3: field \"birth date\": \"1990-02-29\" is not a date of the form YYYY-MM-DD");
    EXPECT_EQ(errorOf(HEADER + "1,x1,A,,,,,\n"), "book.csv:2: field \"net\": \"x1\" is not a net number");
    EXPECT_EQ(errorOf(HEADER + "1,1,A,,,,,3\n"),
              "book.csv:2: field \"gender\": \"3\" is not 1 (female), 2 (male) or 0 (unknown)");
    EXPECT_EQ(errorOf(HEADER + ",1,A,,,,,\n"), "book.csv:2: field \"uid\": empty; every contact needs one");
    EXPECT_EQ(errorOf(HEADER + "1,1,A\n"), "book.csv:2: 3 fields where the header has 8");
    EXPECT_EQ(errorOf(HEADER + "1,1,\"A\"x,,,,,\n"), "book.csv:2: field \"display\": text follows the closing quote");
    EXPECT_EQ(errorOf(HEADER + "1,1,\"A\nB\nC,,,,,\n"), "book.csv:2: field \"display\": the quoted text is not closed");
    EXPECT_EQ(errorOf(HEADER + "1,1,\xB3\xF3,,,,,\n"), "book.csv:2: field \"display\": not UTF-8");
    EXPECT_EQ(errorOf(HEADER + "1,1,☺,,,,,\n"),
              "book.csv:2: field \"display\": \"☺\" holds a character that code page 1250 cannot hold");
}

TEST(ContactsCsv, LineNumbersCountTheLinesInsideQuotedFields) {
    EXPECT_EQ(errorOf(HEADER + "1,1,\"two\nlines\",,,,,\n2,1,B,,,,13-03-1990,\n"),
              "book.csv:4: field \"birth date\": \"13-03-1990\" is not a date of the form YYYY-MM-DD");
}

TEST(ContactsCsv, HeaderFaults) {
    EXPECT_EQ(errorOf(""), std::string("book.csv: no header line (it should be \"") + CSV_HEADER + "\")");
    EXPECT_EQ(errorOf("net,display\n"),
              std::string("book.csv:1: the header has no \"uid\" (the header is \"") + CSV_HEADER + "\")");
    EXPECT_EQ(errorOf("uid,uid\n"), "book.csv:1: field \"uid\" named twice in the header");
}

}  // namespace
}  // namespace vemora::standin
