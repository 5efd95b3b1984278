// The stand-in's contacts CSV: its one dialect read as RFC 4180 has it, each
// refusal in one line naming the line, and a re-import that updates the
// contacts it names and keeps what it does not carry.
#include <gtest/gtest.h>

#include "contacts_csv.h"
#include "host_error.h"

namespace vemora::standin {
namespace {

std::string refusal(std::string_view csv) {
    try {
        readContactsCsv(csv, "book.csv");
    } catch (const HostError& error) {
        return error.what();
    }
    return "(read)";
}

const CellValue& cellOf(const ContactRecord& contact, size_t column) { return *contact.cells.at(column); }

TEST(ContactsCsv, ReadsQuotedFieldsAMarkAndBothLineEndsAndSkipsUnknownColumns) {
    const CsvContacts read = readContactsCsv(
        "\xEF\xBB\xBFUID,Telefon,display,Birth Date,gender\r\n"
        "7,555,\"Nowak, Anna \"\"Ania\"\"\",1990-03-09,female\n"
        "\n"
        "8,,\"two\nlines\",,2\n",
        "book.csv");
    EXPECT_EQ(read.skippedColumns, std::vector<std::string>{"Telefon"});
    ASSERT_EQ(read.contacts.size(), 2u);
    const ContactRecord& anna = read.contacts[0];
    EXPECT_EQ(cellOf(anna, 0), CellValue::ofText("7"));
    EXPECT_EQ(cellOf(anna, 2), CellValue::ofText("Nowak, Anna \"Ania\""));
    EXPECT_EQ(cellOf(anna, 6), CellValue::ofInt((1990 << 16) | (3 << 8) | 9));
    EXPECT_EQ(cellOf(anna, 7), CellValue::ofInt(1));
    EXPECT_FALSE(anna.cells[1]) << "no net column: the net is not carried";
    EXPECT_EQ(cellOf(read.contacts[1], 2), CellValue::ofText("two\nlines"));
    EXPECT_EQ(cellOf(read.contacts[1], 6), CellValue::ofInt(0));
    EXPECT_EQ(cellOf(read.contacts[1], 7), CellValue::ofInt(2));
    // Polish letters reach the plugin's code page.
    EXPECT_EQ(cellOf(readContactsCsv("uid,display\n1,Łódź\n", "b").contacts[0], 2),
              CellValue::ofText("\xA3\xF3\x64\x9F"));
}

TEST(ContactsCsv, RefusesInOneLineNamingWhere) {
    EXPECT_EQ(refusal("uid,display\n1,Ala\n2,\xE9t\xE9\n"), "book.csv:3: not UTF-8 text; save the file as UTF-8");
    EXPECT_EQ(refusal("display,nick\nAla,A\n"), "book.csv:1: the header has no \"uid\" column");
    EXPECT_EQ(refusal("uid,uid\n1,1\n"), "book.csv:1: the header names \"uid\" twice");
    EXPECT_EQ(refusal("uid,display\n1,Ala,x\n"), "book.csv:2: 3 fields where the header has 2");
    EXPECT_EQ(refusal("uid,display\n1,\"Ala\n"), "book.csv:2: a quoted field is not closed");
    EXPECT_EQ(refusal("uid,display\n1,\"Ala\"x\n"),
              "book.csv:2: text follows a closing quote (a quote inside quotes is written twice)");
    EXPECT_EQ(refusal(std::string_view("uid,display\n1,A\0z\n", 17)),
              "book.csv:2: a field holds the control byte 0x00, which no field may hold");
    EXPECT_EQ(refusal("uid,display\n1,Ala \xF0\x9F\x8E\x82\n"),
              "book.csv:2: field \"display\": \"Ala \xF0\x9F\x8E\x82\" holds a character that code page 1250 lacks");
    EXPECT_EQ(refusal("uid,birth date\n1,2023-02-29\n"),
              "book.csv:2: field \"birth date\": \"2023-02-29\" is an impossible date: February 2023 has 28 days");
    EXPECT_EQ(refusal("uid,gender\n1,kobieta\n"),
              "book.csv:2: field \"gender\": \"kobieta\" is not a gender: 0, 1, female, 2, male or empty");
    EXPECT_EQ(refusal("uid,net\n1,-4\n"), "book.csv:2: field \"net\": \"-4\" is not a number");
    EXPECT_EQ(refusal("uid,display\n,Ala\n"), "book.csv:2: the uid is empty");
    EXPECT_EQ(refusal(""), "book.csv: no header line naming the columns");
}

TEST(ContactsCsv, ImportingAgainUpdatesTheNamedContactsAndKeepsWhatTheFileLeavesOut) {
    HostTables tables;
    const ImportCounts first =
        importContacts(tables, readContactsCsv("uid,net,display,nick\n1,1,Ala,Ola\n1,2,Ala2,\n", "b").contacts);
    EXPECT_EQ(first.added, 2);
    tables.set(wire::CONTACT_TABLE, 1, wire::CNT_WISH_MODE, CellValue::ofInt(2));  // what the plugin keeps

    // By uid and net; a column the file leaves out keeps its value, an empty one clears it.
    const ImportCounts again =
        importContacts(tables, readContactsCsv("uid,net,nick\n1,1,\n1,2,\n3,1,Nowy\n", "b").contacts);
    EXPECT_EQ(again.added, 1);
    EXPECT_EQ(again.changed, 1);
    EXPECT_EQ(again.unchanged, 1);
    ASSERT_EQ(tables.contactCount(), 3);
    EXPECT_EQ(*tables.cell(wire::CONTACT_TABLE, 1, wire::CNT_DISPLAY_NAME), CellValue::ofText("Ala"));
    EXPECT_EQ(*tables.cell(wire::CONTACT_TABLE, 1, wire::CNT_NICK), CellValue::ofText(""));
    EXPECT_EQ(*tables.cell(wire::CONTACT_TABLE, 1, wire::CNT_WISH_MODE), CellValue::ofInt(2));
    // A new contact gets every host column, empty where the file has none.
    EXPECT_EQ(*tables.cell(wire::CONTACT_TABLE, 3, wire::CNT_BIRTH_DATE), CellValue::ofInt(0));
    EXPECT_EQ(*tables.cell(wire::CONTACT_TABLE, 3, wire::CNT_SURNAME), CellValue::ofText(""));
}

}  // namespace
}  // namespace vemora::standin
