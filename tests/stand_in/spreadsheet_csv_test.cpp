// What spreadsheets write when a user saves an address book as CSV, read as
// it is: Excel on a Polish Windows writes windows-1250 with semicolons and
// day-first dates; "Unicode text" is UTF-16 with tabs. Whatever is refused
// says how to save the file instead.
#include <gtest/gtest.h>

#include <string>

#include "contacts_csv.h"
#include "host_error.h"
#include "text_codec.h"

namespace vemora::standin {
namespace {

std::string cp1250(const std::string& utf8) { return utf8ToCp1250(utf8).value(); }

std::string errorOf(const std::string& bytes) {
    try {
        readContactsCsv(bytes, "book.csv");
    } catch (const HostError& error) {
        return error.what();
    }
    return "(no error)";
}

// UTF-16 of an ASCII and Polish text, with its byte-order mark.
std::string utf16(const std::u16string& text, bool littleEndian) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

TEST(SpreadsheetCsv, APolishExcelFileImportsAsItIs) {
    // As Excel saves "CSV (rozdzielany przecinkami)" on a Polish Windows: the
    // columns past the last named one and the rows below the last contact
    // were touched once, so they are written, empty.
    const std::string file = cp1250(
        "Imię;Nazwisko;Nazwa wyświetlana;Pseudonim;Data urodzenia;Płeć;Sieć;UID;;\r\n"
        "Łucja;Żak;Łucja Żak;Lusia;09.03.1990;K;1;4001;;\r\n"
        "Paweł;Wróbel;\"Paweł; szef\";;9-3-1985;mężczyzna;1;4002;;\r\n"
        ";;;;;;;;;\r\n"
        ";;;;;;;;;\r\n");
    const CsvContacts read = readContactsCsv(file, "book.csv");
    EXPECT_EQ(read.readAs, "windows-1250 (the plugin's code page), since it is not UTF-8");
    ASSERT_EQ(read.contacts.size(), 2u);
    const ContactRecord& lucja = read.contacts[0];
    EXPECT_EQ(lucja.uid, "4001");
    EXPECT_EQ(lucja.net, 1u);
    EXPECT_EQ(lucja.firstName, cp1250("Łucja"));
    EXPECT_EQ(lucja.surname, cp1250("Żak"));
    EXPECT_EQ(lucja.display, cp1250("Łucja Żak"));
    EXPECT_EQ(lucja.nick, "Lusia");
    EXPECT_EQ(lucja.birthDate, (CivilDate{1990, 3, 9}));
    EXPECT_EQ(lucja.gender, 1);
    EXPECT_EQ(lucja.line, 2);
    EXPECT_EQ(read.contacts[1].display, cp1250("Paweł; szef"));  // a quoted separator is text
    EXPECT_EQ(read.contacts[1].birthDate, (CivilDate{1985, 3, 9}));
    EXPECT_EQ(read.contacts[1].gender, 2);
}

TEST(SpreadsheetCsv, TheHeaderLineDecidesTheSeparator) {
    // A tab-separated file may hold commas and semicolons in its texts.
    const auto tabs = readContactsCsv("uid\tdisplay\tnick\n1\tKowalski, Jan\tJ;K\n", "book.csv").contacts;
    ASSERT_EQ(tabs.size(), 1u);
    EXPECT_EQ(tabs[0].display, "Kowalski, Jan");
    EXPECT_EQ(tabs[0].nick, "J;K");
    // Quoted names do not count: this header has one comma between fields.
    EXPECT_EQ(errorOf("\"uid; the number\",display\n"),
              "book.csv:1: unknown column \"uid; the number\" in the header; rename it or delete the column (the "
              "columns a header may name: uid, net (sieć), display (nazwa, nazwa wyświetlana), nick (pseudonim), first "
              "name (imię), surname (nazwisko), birth date (data urodzenia), gender (płeć))");
    // A line of another separator is one field too few, and says which one the header uses.
    EXPECT_EQ(errorOf("uid;display;nick\n1,Ala,A\n"),
              "book.csv:2: 1 fields where the header has 3 (separated by semicolons); give the line one field for "
              "each column of the header");
}

TEST(SpreadsheetCsv, UnicodeTextWithItsByteOrderMarkIsReadEitherWay) {
    const std::u16string text = u"uid\tImię\tData urodzenia\r\n7\tŻaneta 😀\t29.02.2000\r\n";
    for (const bool littleEndian : {true, false}) {
        const CsvContacts read = readContactsCsv(utf16(text, littleEndian), "book.csv", true);
        EXPECT_EQ(read.readAs, littleEndian ? "UTF-16 (little-endian), by its byte-order mark"
                                            : "UTF-16 (big-endian), by its byte-order mark");
        ASSERT_EQ(read.contacts.size(), 1u);
        EXPECT_EQ(read.contacts[0].firstName, cp1250("Żaneta ?"));  // the pair of units is one character
        EXPECT_EQ(read.replaced, 1);
        EXPECT_EQ(read.contacts[0].birthDate, (CivilDate{2000, 2, 29}));
    }
    std::string halfPair = utf16(u"uid\n1\n", true) + "\x3D\xD8" + "\n";  // a high surrogate, then a line end
    halfPair += '\0';
    EXPECT_EQ(errorOf(halfPair), "book.csv: begins as UTF-16 but line 3 holds half of a character pair; save it from "
                                 "the spreadsheet as \"CSV UTF-8\"");
}

TEST(SpreadsheetCsv, WhatNoEncodingHereReadsIsRefusedWithHowToSaveIt) {
    using namespace std::string_literals;
    EXPECT_EQ(errorOf("u\0i\0d\0\n\0001\0\n\0"s),
              "book.csv: looks like UTF-16 without a byte-order mark (a zero byte beside each letter); save it from "
              "the spreadsheet as \"CSV UTF-8\"");
    EXPECT_EQ(errorOf("uid,display\n1,Ala\n2,Pawe\xB3 \x98\n"),
              "book.csv:3: neither UTF-8 nor windows-1250 (0x98 is a byte windows-1250 leaves unused); save it from "
              "the spreadsheet as \"CSV UTF-8\"");
    EXPECT_EQ(errorOf("\xEF\xBB\xBFuid,display\n1,Ala\n2,Pawe\xB3\n"),
              "book.csv:3: not UTF-8, though the file begins with UTF-8's byte-order mark; save it from the "
              "spreadsheet as \"CSV UTF-8\" again");
    // UTF-8 stays UTF-8, said by nothing.
    EXPECT_EQ(readContactsCsv("uid,display\n1,Paweł\n", "book.csv").readAs, "");
}

TEST(SpreadsheetCsv, DatesGenderAndColumnNamesAsPeopleWriteThem) {
    const auto contacts = readContactsCsv(
        "UID,DATA URODZENIA,PŁEĆ,NAZWA,Sieć\n"
        "1,1990-03-09,k,,\n2,09.03.1990,Kobieta,,\n3,09-03-1990,M,,\n4,9.3.1990,MĘŻCZYZNA,,\n5,,female,,\n"
        "6,,Male,,\n7,,0,,\n8,,,,\n",
        "book.csv").contacts;
    ASSERT_EQ(contacts.size(), 8u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(contacts[i].birthDate, (CivilDate{1990, 3, 9})) << "line " << i + 2;
    const int32_t genders[] = {1, 1, 2, 2, 1, 2, 0, 0};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(contacts[i].gender, genders[i]) << "line " << i + 2;
    EXPECT_TRUE(contacts[0].has(DISPLAY) && contacts[0].has(NET));

    EXPECT_EQ(errorOf("uid,data urodzenia\n1,31.02.1990\n"),
              "book.csv:2: field \"birth date\": \"31.02.1990\" is an impossible date: February 1990 has 28 days");
    EXPECT_EQ(errorOf("uid,data urodzenia\n1,03/09/1990\n"),
              "book.csv:2: field \"birth date\": \"03/09/1990\" is not a date (YYYY-MM-DD, DD.MM.YYYY or DD-MM-YYYY)");
    EXPECT_NE(errorOf("uid,data urodzenia\n1,9.3.90\n").find("\"9.3.90\" is not a date ("), std::string::npos);
}

TEST(SpreadsheetCsv, OneLineAContact) {
    EXPECT_EQ(errorOf("uid,display\n100,Jan\n200,Ewa\n100,Janek\n"),
              "book.csv:4: uid \"100\" is on line 2 too; keep one of the two lines, so that the file says one thing of "
              "each contact");
    EXPECT_EQ(errorOf("uid,net\n100,1\n\n100,1\n"),
              "book.csv:4: uid \"100\" on net 1 is on line 2 too; keep one of the two lines, so that the file says "
              "one thing of each contact");
    // With a net column the same uid on two nets is two contacts.
    EXPECT_EQ(readContactsCsv("uid,net\n100,1\n100,4\n", "book.csv").contacts.size(), 2u);
}

TEST(SpreadsheetCsv, ColumnsPastTheHeaderMayOnlyBeEmpty) {
    EXPECT_EQ(readContactsCsv("uid,display\n1,Ala,,\n", "book.csv").contacts.at(0).display, "Ala");
    EXPECT_EQ(errorOf("uid,display\n1,Ala,,x\n"),
              "book.csv:2: 4 fields where the header has 2 (separated by commas); give the line one field for each "
              "column of the header");
}

}  // namespace
}  // namespace vemora::standin
