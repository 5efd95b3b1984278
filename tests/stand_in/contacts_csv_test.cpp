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
        readContactsCsv(content, "book.csv");
    } catch (const HostError& error) {
        return error.what();
    }
    return "(no error)";
}

std::string cp1250(const char* utf8) { return utf8ToCp1250(utf8).value(); }

TEST(ContactsCsv, ReadsEveryFieldAndConvertsTextsToCodePage1250) {
    const auto contacts =
        readContactsCsv(HEADER + "12345,1,Łukasz Żółć,Łuki,Łukasz,Żółć,1990-03-09,2\n", "book.csv").contacts;
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
    const auto contacts = readContactsCsv(content, "book.csv").contacts;
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
    const auto contacts = readContactsCsv("Gender,UID,birth date\nm,77,2000-02-29\n", "book.csv").contacts;
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0].uid, "77");
    EXPECT_EQ(contacts[0].gender, 2);
    EXPECT_EQ(contacts[0].birthDate, (CivilDate{2000, 2, 29}));
    EXPECT_EQ(contacts[0].net, 0u);
    EXPECT_EQ(contacts[0].display, "");
    // What the header leaves out is marked, so that an import keeps it.
    EXPECT_TRUE(contacts[0].has(UID) && contacts[0].has(GENDER) && contacts[0].has(BIRTH_DATE));
    EXPECT_FALSE(contacts[0].has(NET) || contacts[0].has(DISPLAY) || contacts[0].has(NICK) ||
                 contacts[0].has(FIRST_NAME) || contacts[0].has(SURNAME));
}

TEST(ContactsCsv, CrAloneEndsALineAsLfAndCrLfDo) {
    const auto contacts =
        readContactsCsv("uid,display\r1,Ala\r\r2,\"Dwie\rlinie\"\r3,Ola\n4,Ela\r\n", "book.csv").contacts;
    ASSERT_EQ(contacts.size(), 4u);
    EXPECT_EQ(contacts[0].display, "Ala");
    EXPECT_EQ(contacts[1].display, "Dwie\rlinie");  // inside quotes a line end is kept as written
    EXPECT_EQ(contacts[3].uid, "4");
    EXPECT_EQ(errorOf("uid,gender\r1,1\r2,x\r").rfind("book.csv:3: field \"gender\": \"x\" is not a gender", 0), 0u);
}

TEST(ContactsCsv, ControlBytesAreRefusedWhereverTheyStand) {
    using namespace std::string_literals;
    EXPECT_EQ(errorOf(HEADER + "1\0z,1,A,,,,,\n"s),
              "book.csv:2: field \"uid\": holds the control byte 0x00, which no field may hold; delete it");
    EXPECT_EQ(errorOf(HEADER + "1,1,\"A\nB\x01\",,,,,\n"),
              "book.csv:3: field \"display\": holds the control byte 0x01, which no field may hold; delete it");
    EXPECT_EQ(errorOf(HEADER + "1,1,A,,,Nowak\x7F,,\n"),
              "book.csv:2: field \"surname\": holds the control byte 0x7F, which no field may hold; delete it");
    EXPECT_EQ(errorOf("uid\x1B,display\n"), "book.csv:1: field 1: holds the control byte 0x1B, which no field may hold; delete it");
    // A tab is no control byte here.
    EXPECT_EQ(readContactsCsv("uid,display\n1,\"A\tB\"\n", "book.csv").contacts.at(0).display, "A\tB");
}

TEST(ContactsCsv, FaultsNameTheLineAndTheField) {
    EXPECT_EQ(errorOf(HEADER + "1,1,A,,,,1990-03-09,1\n2,1,B,,,,1990-02-29,1\n"),
              "book.csv:3: field \"birth date\": \"1990-02-29\" is an impossible date: February 1990 has 28 days");
    EXPECT_EQ(errorOf(HEADER + "1,1,A,,,,1990-13-01,1\n"),
              "book.csv:2: field \"birth date\": \"1990-13-01\" is an impossible date: there is no month 13");
    EXPECT_EQ(errorOf(HEADER + "1,x1,A,,,,,\n"),
              "book.csv:2: field \"net\": \"x1\" is not a net number; write the net's number, or nothing for 0");
    EXPECT_EQ(errorOf(HEADER + "1,1,A,,,,,3\n"),
              "book.csv:2: field \"gender\": \"3\" is not a gender: write 1, female, kobieta or K for a woman; 2, "
              "male, mężczyzna or M for a man; 0 or nothing when unknown");
    EXPECT_EQ(errorOf(HEADER + ",1,A,,,,,\n"),
              "book.csv:2: field \"uid\": empty; every contact needs one: fill it in or delete the line");
    EXPECT_EQ(errorOf(HEADER + "1,1,A\n"), "book.csv:2: 3 fields where the header has 8 (separated by commas); give "
                                          "the line one field for each column of the header");
    EXPECT_EQ(errorOf(HEADER + "1,1,\"A\"x,,,,,\n"),
              "book.csv:2: field \"display\": text follows the closing quote; inside quotes write a quote as two (\"\")");
    EXPECT_EQ(errorOf(HEADER + "1,1,\"A\nB\nC,,,,,\n"),
              "book.csv:2: field \"display\": the quoted text is not closed; end it with a quote (\")");
}

TEST(ContactsCsv, CharactersTheCodePageLacksAreNamedLineByLineOrReplaced) {
    const std::string content = HEADER + "1,1,☺ Jan,,,,,\n2,1,Ola,,,,,\n3,1,Ewa,Ewcia 😀,,Nowak☺,,\n";
    EXPECT_EQ(errorOf(content),
              "book.csv: characters that code page 1250 cannot hold, in 3 fields: line 2 field \"display\" \"☺ Jan\"; "
              "line 4 field \"nick\" \"Ewcia 😀\"; line 4 field \"surname\" \"Nowak☺\" "
              "(\"import --replace FILE\" puts \"?\" in their place)");
    const CsvContacts read = readContactsCsv(content, "book.csv", true);
    const std::vector<ContactRecord>& contacts = read.contacts;
    EXPECT_EQ(read.replaced, 3);
    EXPECT_EQ(contacts.at(0).display, "? Jan");
    EXPECT_EQ(contacts.at(2).nick, "Ewcia ?");
    EXPECT_EQ(contacts.at(2).surname, "Nowak?");
    EXPECT_EQ(contacts.at(1).display, "Ola");
}

TEST(ContactsCsv, AFileFullOfUnknownCharactersListsTenFieldsAndCountsTheRest) {
    std::string content = "uid,display\n";
    for (int i = 1; i <= 25; ++i) content += std::to_string(i) + ",☺\n";
    const std::string error = errorOf(content);
    EXPECT_NE(error.find("in 25 fields: line 2 "), std::string::npos) << error;
    EXPECT_NE(error.find("; line 11 field"), std::string::npos) << error;
    EXPECT_EQ(error.find("line 12 field"), std::string::npos) << error;
    EXPECT_NE(error.find("; and 15 more ("), std::string::npos) << error;
}

TEST(ContactsCsv, LineNumbersCountTheLinesInsideQuotedFields) {
    EXPECT_EQ(errorOf(HEADER + "1,1,\"two\r\nlines\",,,,,\n2,1,B,,,,1990/03/13,\n"),
              "book.csv:4: field \"birth date\": \"1990/03/13\" is not a date (YYYY-MM-DD, DD.MM.YYYY or DD-MM-YYYY)");
}

TEST(ContactsCsv, HeaderFaultsSayHowToMendTheHeader) {
    const std::string known =
        "(the columns a header may name: uid, net (sieć), display (nazwa, nazwa wyświetlana), nick (pseudonim), first "
        "name (imię), surname (nazwisko), birth date (data urodzenia), gender (płeć))";
    EXPECT_EQ(errorOf(""), "book.csv: no header line; the first line names the columns, as in: " + std::string(CSV_HEADER));
    EXPECT_EQ(errorOf("net,display\n"), "book.csv:1: the header has no \"uid\" column; add one, with each contact's uid " + known);
    EXPECT_EQ(errorOf("uid,display1\n"), "book.csv:1: unknown column \"display1\" in the header; rename it or delete the column " + known);
    EXPECT_EQ(errorOf("uid,uid\n"), "book.csv:1: columns 1 and 2 both name \"uid\"; keep one of them");
    EXPECT_EQ(errorOf("Imię,uid,first name\n"), "book.csv:1: columns 1 and 3 both name \"first name\"; keep one of them");
    EXPECT_EQ(errorOf("uid,,nick\n"), "book.csv:1: column 2 of the header has no name; name it or delete the column " + known);
}

}  // namespace
}  // namespace vemora::standin
