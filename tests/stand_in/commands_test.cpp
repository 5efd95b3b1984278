// The command language against the host's tables, without a plugin: what set
// writes for each kind of column and what it refuses, how get and show
// contacts read the cells back, and the errors a line can hold.
#include <gtest/gtest.h>

#include <sstream>

#include "commands.h"
#include "host_error.h"

namespace vemora::standin {
namespace {

class Commands : public ::testing::Test {
protected:
    Commands() {
        model.tables.addContact();
        model.tables.set(wire::CONTACT_TABLE, 1, wire::CNT_UID, CellValue::ofText("7001"));
        model.columns.registerColumn({wire::CONTACT_TABLE, wire::CNT_WISH_TEXT, ValueKind::Text, 0, "", false});
        model.columns.registerColumn({wire::CONTACT_TABLE, wire::CNT_AGE, ValueKind::Int, 0, "", false});
    }

    // The error a line ends with, or "" when it runs.
    std::string run(const std::string& line) {
        out.str("");
        try {
            runner.runLine(line, "t", 1);
        } catch (const HostError& error) {
            return error.what();
        }
        return "";
    }
    const CellValue& cell(uint32_t column) { return *model.tables.cell(wire::CONTACT_TABLE, 1, column); }

    HostModel model;
    HostEvents events;  // unwatched
    HostEndpoint endpoint{model, events, "no plugin is loaded here"};
    std::ostringstream out;
    CommandRunner runner{model, endpoint, out};
};

TEST_F(Commands, SetWritesEachKindOfColumnAsItsValuesAreWritten) {
    EXPECT_EQ(run("set contact 1 wish-text \"Sto lat, \\\"Ł\\\"\\n\\x81\""), "");
    EXPECT_EQ(cell(wire::CNT_WISH_TEXT), CellValue::ofText("Sto lat, \"\xA3\"\n\x81"));
    EXPECT_EQ(run("set contact 1 gender FEMALE"), "");
    EXPECT_EQ(cell(wire::CNT_GENDER_CODE), CellValue::ofInt(wire::GENDER_FEMALE));
    EXPECT_EQ(run("set contact 1 birth-date 1996-03-09"), "");
    EXPECT_EQ(cell(wire::CNT_BIRTH_DATE), CellValue::ofInt(0x07CC0309));
    EXPECT_EQ(run("set contact 1 birth-date -1"), "") << "a packed value of its own";
    EXPECT_EQ(cell(wire::CNT_BIRTH_DATE), CellValue::ofInt(-1));
    EXPECT_EQ(run("set --raw contact 1 age 0x10"), "");
    EXPECT_EQ(cell(wire::CNT_AGE), CellValue::ofInt(16));
}

TEST_F(Commands, SetRefusesWhatTheColumnCannotHold) {
    EXPECT_EQ(run("set contact 1 gender kobieta"),
              "t:1: set: column gender takes 0, 1, female, 2 or male; not \"kobieta\" (\"set --raw\" writes any number)");
    EXPECT_EQ(run("set contact 1 birth-date 2023-02-29"),
              "t:1: set: column birth-date: \"2023-02-29\" is an impossible date: February 2023 has 28 days");
    EXPECT_EQ(run("set contact 1 age 3"),
              "t:1: set: column age: the values the plugin offers for it are known once it runs; use start first, or "
              "\"set --raw\" to write any number");
    EXPECT_EQ(run("set contact 1 net kobieta"), "t:1: set: column net holds numbers, not \"kobieta\"");
    EXPECT_EQ(run("set contact 1 wish-text \"🎂\""),
              "t:1: set: the text holds a character that code page 1250 cannot hold");
    EXPECT_EQ(run("set config wish-mode 2"),
              "t:1: set: unknown column \"wish-mode\" for config (the columns: info-mode, wish-text, notify-hide; or "
              "a column's number)");
    EXPECT_EQ(run("set config info-mode 1"),
              "t:1: set: column \"info-mode\" (139014) is not registered for config (start the plugin first)");
    EXPECT_EQ(run("get contact 2 uid"), "t:1: get: no contact \"2\" (contacts are rows 1 to 1)");
    EXPECT_EQ(run("set config wish-text \"Sto lat"), "t:1: a quoted text is not closed");
    EXPECT_EQ(run("echo \"a\"b"), "t:1: a blank must follow a closing quote");
    EXPECT_EQ(run("get config"), "t:1: usage: get config COLUMN | get contact ROW COLUMN");
    EXPECT_EQ(model.tables.contactRow(1).size(), 1u) << "nothing refused was written";
}

TEST_F(Commands, GetAndShowContactsReadTheCellsBackAsAPersonReadsThem) {
    ASSERT_EQ(run("set contact 1 birth-date 1996-03-09"), "");
    ASSERT_EQ(run("set --raw contact 1 age 30"), "");
    ASSERT_EQ(run("set contact 1 display \"Ewa \\\"E\\\"\""), "");
    ASSERT_EQ(run("get contact 1 birth-date"), "");
    EXPECT_EQ(out.str(), "contact 1 birth-date = 1996-03-09\n");
    ASSERT_EQ(run("get contact 1 wish-text"), "");
    EXPECT_EQ(out.str(), "contact 1 wish-text = \"\" (default)\n");
    // The host's columns in their own order, then the plugin's.
    ASSERT_EQ(run("show contacts"), "");
    EXPECT_EQ(out.str(), "[contacts: 1]\n  1 uid=\"7001\" display=\"Ewa \\\"E\\\"\" birth-date=1996-03-09 age=30\n");
}

}  // namespace
}  // namespace vemora::standin
