// The state file: what is written reads back as it was; it is read strictly,
// every line or nothing, so a file cut short or a line that does not read
// is refused (naming the line), and a hand edit that reads is taken.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "host_error.h"
#include "state_file.h"

namespace vemora::standin {
namespace {

constexpr const char* HEAD = "vemora-host-state 3\ncontacts 2\n";

// The file's first lines, then REST, appended into one named string. Moved
// out of a `std::string(HEAD) + "..."` temporary, the text is taken by gcc 12
// and 14 at -O2 for a copy out of the temporary's 24-byte inline buffer, and
// they warn (-Warray-bounds) of a copy that never happens.
std::string headThen(std::string_view rest) {
    std::string text = HEAD;
    text += rest;
    return text;
}

std::string stateRefusal(const std::string& content) {
    HostModel model;
    try {
        parseState(content, "s", model);
    } catch (const HostError& error) {
        return error.what();
    }
    return "(read)";
}

TEST(StateFile, WhatIsWrittenReadsBackAsItWas) {
    HostModel model;
    model.columns.registerColumn({wire::CONFIG_TABLE, wire::CFG_WISH_TEXT, ValueKind::Text, 0, "Sto \"lat\"\n", false});
    model.columns.registerColumn({wire::CONTACT_TABLE, wire::CNT_WISH_MODE, ValueKind::Int, -3, "", false});
    model.tables.set(wire::CONFIG_TABLE, 0, wire::CFG_WISH_TEXT, CellValue::ofText("\xA3\xF3\x64\x9F \\ \x81\x01"));
    model.tables.addContact();
    model.tables.addContact();
    model.tables.set(wire::CONTACT_TABLE, 2, wire::CNT_BIRTH_DATE, CellValue::ofInt(-1));
    model.tables.set(wire::CONTACT_TABLE, 2, wire::CNT_UID, CellValue::ofText(""));

    HostModel read;
    parseState(serializeState(model), "s", read);
    EXPECT_EQ(read.tables.contactCount(), 2);
    EXPECT_EQ(read.tables.configRow(), model.tables.configRow());
    EXPECT_EQ(read.tables.contactRow(1), model.tables.contactRow(1));
    EXPECT_EQ(read.tables.contactRow(2), model.tables.contactRow(2));
    EXPECT_EQ(read.columns.registeredColumns(), model.columns.registeredColumns());
    EXPECT_EQ(serializeState(read), serializeState(model));
}

TEST(StateFile, IsReadStrictlyAndRefusedWholeNamingTheLine) {
    const std::string whole = headThen("contact 1 8 text \"Ala\"\nend\n");
    EXPECT_EQ(stateRefusal(whole), "(read)");
    // A hand edit that reads is taken as it is: comments, blank lines, CR LF.
    EXPECT_EQ(stateRefusal("# edited\r\n" + headThen("\r\ncontact 2 8 text \"Ola\"\r\nend\r\n\n")), "(read)");

    EXPECT_EQ(stateRefusal(headThen("contact 1 8 text \"Ala\"\n")),
              "s:4: no closing line \"end\": the file is cut short, so it is not read (nothing was changed)");
    EXPECT_EQ(stateRefusal(whole.substr(0, whole.size() - 9)),  // cut inside its last cell
              "s:3: a quoted text is not closed (nothing was changed)");
    EXPECT_EQ(stateRefusal(whole + "config 5 int 1\n"), "s:5: nothing may follow the closing line \"end\" (nothing was changed)");
    EXPECT_EQ(stateRefusal("vemora-host-state 2\nend\n"),
              "s:1: a state file of version 2, not 3; move it away to start afresh (nothing was changed)");
    EXPECT_EQ(stateRefusal("uid,display\n"), "s:1: not a vemora-host state file (nothing was changed)");
    EXPECT_EQ(stateRefusal(headThen("contact 3 8 int 1\nend\n")),
              "s:3: contact 3 lies beyond the number of contacts (nothing was changed)");
    EXPECT_EQ(stateRefusal(headThen("config 7 int 1\nconfig 7 int 2\nend\n")),
              "s:4: a cell given a value a second time (nothing was changed)");
    EXPECT_EQ(stateRefusal(headThen("contact 1 19 text \"1990\"\nend\n")),
              "s:3: column 19 holds int values (nothing was changed)");
    EXPECT_EQ(stateRefusal(headThen("contacts 3\nend\n")), "s:3: the number of contacts is given twice (nothing was changed)");
    // A row count is checked before any row is made.
    EXPECT_EQ(stateRefusal("vemora-host-state 3\ncontacts 2147483647\nend\n"),
              "s:2: more contacts than the stand-in keeps (1000000) (nothing was changed)");
}

}  // namespace
}  // namespace vemora::standin
