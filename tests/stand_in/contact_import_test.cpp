// Importing a CSV again updates the contacts it names: what the file has is
// written, what its header leaves out is kept, an empty field clears.
#include <gtest/gtest.h>

#include "wire/ids.h"

#include <string>

#include "contact_import.h"
#include "contacts_csv.h"
#include "host_error.h"
#include "host_tables.h"

namespace vemora::standin {

namespace {

class ImportAgain : public ::testing::Test {
protected:
    ImportCounts import(const std::string& csv) {
        return importContacts(tables, readContactsCsv(csv, "book.csv").contacts);
    }
    CellValue cell(int32_t row, uint32_t column) const {
        const CellValue* value = tables.cell(wire::CONTACT_TABLE, row, column);
        return value ? *value : CellValue::ofText("(never written)");
    }

    HostTables tables;
};

TEST_F(ImportAgain, ColumnsTheHeaderLeavesOutKeepTheirValues) {
    import("uid,net,display,nick,first name,surname,birth date,gender\n"
           "100,1,Jan Nowak,Janek,Jan,Nowak,1980-03-09,male\n");
    tables.set(wire::CONTACT_TABLE, 1, 139015, CellValue::ofInt(2));  // what a plugin keeps for the contact
    const ImportCounts counts = import("uid,net,display\n100,1,Jan Nowak-Kowalski\n");

    EXPECT_EQ(counts.added, 0);
    EXPECT_EQ(counts.changed, 1);
    EXPECT_EQ(tables.contactCount(), 1);
    EXPECT_EQ(cell(1, wire::CNT_DISPLAY_NAME), CellValue::ofText("Jan Nowak-Kowalski"));
    EXPECT_EQ(cell(1, wire::CNT_NICK), CellValue::ofText("Janek"));
    EXPECT_EQ(cell(1, wire::CNT_FIRST_NAME), CellValue::ofText("Jan"));
    EXPECT_EQ(cell(1, wire::CNT_SURNAME), CellValue::ofText("Nowak"));
    EXPECT_EQ(cell(1, wire::CNT_BIRTH_DATE), CellValue::ofInt(1980 << 16 | 3 << 8 | 9));
    EXPECT_EQ(cell(1, wire::CNT_GENDER_CODE), CellValue::ofInt(2));
    EXPECT_EQ(cell(1, 139015), CellValue::ofInt(2));
}

TEST_F(ImportAgain, AnEmptyFieldClearsTheValue) {
    import("uid,net,nick,birth date,gender\n100,1,Janek,1980-03-09,2\n");
    import("uid,net,nick,birth date,gender\n100,1,,,\n");
    EXPECT_EQ(cell(1, wire::CNT_NICK), CellValue::ofText(""));
    EXPECT_EQ(cell(1, wire::CNT_BIRTH_DATE), CellValue::ofInt(0));
    EXPECT_EQ(cell(1, wire::CNT_GENDER_CODE), CellValue::ofInt(0));
}

TEST_F(ImportAgain, ANewContactGetsEveryHostColumnWhateverTheHeader) {
    import("uid,display\n7,Ola\n");
    EXPECT_EQ(cell(1, wire::CNT_NET), CellValue::ofInt(0));
    EXPECT_EQ(cell(1, wire::CNT_SURNAME), CellValue::ofText(""));
    EXPECT_EQ(cell(1, wire::CNT_BIRTH_DATE), CellValue::ofInt(0));
}

TEST_F(ImportAgain, WithoutANetColumnTheUidAloneNamesTheContactAndItsNetStays) {
    import("uid,net,display\n100,3,Jan\n200,3,Ewa\n");
    const ImportCounts counts = import("uid,gender\n100,male\n300,female\n");
    EXPECT_EQ(counts.changed, 1);
    EXPECT_EQ(counts.added, 1);
    EXPECT_EQ(cell(1, wire::CNT_NET), CellValue::ofInt(3));
    EXPECT_EQ(cell(1, wire::CNT_GENDER_CODE), CellValue::ofInt(2));
    EXPECT_EQ(cell(3, wire::CNT_UID), CellValue::ofText("300"));
    // With a net column, the same uid on another net is another contact.
    EXPECT_EQ(import("uid,net\n100,4\n").added, 1);
}

TEST_F(ImportAgain, TheCountsSayWhatTheImportChanged) {
    const std::string book = "uid,net,display\n100,1,Jan\n200,1,Ewa\n";
    EXPECT_EQ(import(book).added, 2);
    const ImportCounts again = import(book);
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.changed, 0);
    EXPECT_EQ(again.unchanged, 2);
    const ImportCounts edited = import("uid,net,display\n100,1,Jan\n200,1,Ewa Nowak\n300,1,Ola\n");
    EXPECT_EQ(edited.added, 1);
    EXPECT_EQ(edited.changed, 1);
    EXPECT_EQ(edited.unchanged, 1);
    EXPECT_EQ(tables.contactCount(), 3);
}

TEST_F(ImportAgain, AUidOnSeveralNetsNeedsANetColumnAndNothingIsWrittenMeanwhile) {
    import("uid,net,display\n100,1,Jan\n100,4,Jan z pracy\n100,7,Jan z klubu\n200,1,Ewa\n");
    const HostTables before = tables;
    try {
        const CsvContacts read = readContactsCsv("uid,display\n200,Ewa Nowak\n100,Janek\n", "book.csv");
        importContacts(tables, read.contacts, "book.csv");
        ADD_FAILURE() << "an import naming three contacts at once went through";
    } catch (const HostError& error) {
        EXPECT_STREQ(error.what(), "book.csv:3: uid \"100\" names contacts on nets 1, 4 and 7; add a \"net\" column "
                                   "saying which one the line is for");
    }
    for (int32_t row = 1; row <= 4; ++row) EXPECT_EQ(tables.contactRow(row), before.contactRow(row)) << row;
    // A uid on one net only still needs no net column.
    EXPECT_EQ(import("uid,display\n200,Ewa Nowak\n").changed, 1);
}

}  // namespace
}  // namespace vemora::standin
