// A state file edited by hand: refused as it stands, with the command that
// accepts the edit; accepted once every line reads strictly, sealed again
// with the edit, comments included, kept as typed; never accepted when it
// was cut short. An editor's blank lines at the end are forgiven.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "file_io.h"
#include "host_error.h"
#include "state_file.h"
#include "wire/ids.h"

namespace vemora::standin {

namespace {

namespace fs = std::filesystem;

class HandEdit : public ::testing::Test {
protected:
    void SetUp() override {
        path = utf8Name(fs::temp_directory_path() /
                        ("vemora-edit-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".state"));
        HostModel model;
        model.columns.registerColumn({wire::CONFIG_TABLE, 139014, ValueKind::Int, 0, "", false});
        model.columns.registerColumn({wire::CONFIG_TABLE, 139019, ValueKind::Text, 0, "Najlepszego, itd.", false});
        model.tables.set(wire::CONFIG_TABLE, wire::CONFIG_ROW, 139019, CellValue::ofText("Sto lat!"));
        model.tables.addContact();
        model.tables.set(wire::CONTACT_TABLE, 1, wire::CNT_UID, CellValue::ofText("4001"));
        saveState(path, model);
        written = contents();
    }
    void TearDown() override {
        fs::remove(path);
        fs::remove(path + ".lock");
    }

    std::string contents() const { return readWholeFile(path).value_or("(absent)"); }
    void write(const std::string& content) const {
        std::ofstream(utf8Path(path), std::ios::binary | std::ios::trunc) << content;
    }
    // The file as an editor leaves it: `from` replaced by `to`, the closing line as it was.
    std::string edited(const std::string& from, const std::string& to) const {
        std::string content = written;
        content.replace(content.find(from), from.size(), to);
        return content;
    }
    std::string loadError() const {
        HostModel model;
        try {
            loadState(path, model);
        } catch (const HostError& error) {
            return error.what();
        }
        return "(read)";
    }
    std::string acceptError() const {
        try {
            acceptStateEdits(path);
        } catch (const HostError& error) {
            return error.what();
        }
        return "(accepted)";
    }

    std::string path;
    std::string written;
};

TEST_F(HandEdit, AnEditThatReadsIsRefusedWithTheWayOnThenAcceptedAsTyped) {
    const std::string mine = edited("\"Sto lat!\"", "\"Sto lat, @name!\"\n# changed by hand, Ola");
    write(mine);
    EXPECT_EQ(loadError(), path + ": changed since vemora-host wrote it (it has 8 lines before its closing line, which "
                                  "counts 7), so it is not read (nothing was changed). If you edited it by hand, "
                                  "this checks it line by line and seals it again: vemora-host --state " + path +
                                  " --accept-edits");
    EXPECT_EQ(contents(), mine);

    EXPECT_EQ(acceptStateEdits(path),
              "[" + path + ": edits accepted: 8 lines read, sealed again with a fresh closing line]");
    const std::string sealed = contents();
    EXPECT_EQ(sealed.substr(0, sealed.rfind("end ")), mine.substr(0, mine.rfind("end ")));  // the comment too
    HostModel model;
    ASSERT_TRUE(loadState(path, model));
    EXPECT_EQ(*model.tables.cell(wire::CONFIG_TABLE, wire::CONFIG_ROW, 139019), CellValue::ofText("Sto lat, @name!"));
    EXPECT_EQ(acceptStateEdits(path), "[" + path + ": its closing line vouches for every line; nothing to accept]");
    EXPECT_EQ(contents(), sealed);
}

TEST(HandEditCommand, ANameAShellWouldSplitIsQuoted) {
    EXPECT_EQ(acceptEditsCommand("C:\\Dane\\moje kontakty.state"),
              "vemora-host --state \"C:\\Dane\\moje kontakty.state\" --accept-edits");
    EXPECT_EQ(acceptEditsCommand("../a-b_c.state"), "vemora-host --state ../a-b_c.state --accept-edits");
}

TEST_F(HandEdit, AnEditorsBlankLinesAtTheEndAndItsLineEndsAreForgiven) {
    write(written + "\n  \r\n\n");
    EXPECT_EQ(loadError(), "(read)");
    std::string crlf;
    for (const char c : written) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    write(crlf);
    EXPECT_EQ(acceptError(), "(accepted)");
    HostModel model;
    ASSERT_TRUE(loadState(path, model));
    EXPECT_EQ(*model.tables.cell(wire::CONFIG_TABLE, wire::CONFIG_ROW, 139019), CellValue::ofText("Sto lat!"));
    write(edited("Sto lat!", "Sto lat!!") + "\n");
    EXPECT_EQ(acceptError(), "(accepted)");
    EXPECT_EQ(loadError(), "(read)");
}

TEST_F(HandEdit, AcceptingReadsStrictlyAndNamesTheFirstFaultLeavingTheFileAsItWas) {
    const std::string cases[][3] = {
        {"\nconfig 139019 text", "\nconfig 139014 int x\nconfig 139019 text", ":6: \"x\" is not a valid number here"},
        {"\nconfig 139019 text", "\nconfig 139019 text \"Drugi\"\nconfig 139019 text",
         ":7: config 139019 is given a value a second time; keep one of its lines"},
        {"contact 1 0 text \"4001\"", "contact 1 0 text \"4001\"\ncontact 1 0 text \"4002\"",
         ":8: contact 1 0 is given a value a second time; keep one of its lines"},
        {"contacts 1", "contacts 1\ncontacts 2", ":4: the number of contacts is given twice (first on line 3); keep one line"},
        {"\nconfig 139019 text \"Sto lat!\"", "\nconfig 139014 text \"1\"",
         ":6: column 139014 holds int values; write \"int NUMBER\""},
        {"contact 1 0 text", "contact 2 0 text", ":7: contact 2 lies beyond the number of contacts"},
    };
    for (const auto& [from, to, fault] : cases) {
        const std::string mine = edited(from, to);
        write(mine);
        EXPECT_EQ(acceptError(), path + fault) << to;
        EXPECT_EQ(contents(), mine);
    }
    // A fault the plain reading sees is named by the refusal itself, with the way on.
    write(edited("int 0", "int zero"));
    EXPECT_EQ(loadError(), path + ":4: \"zero\" is not a valid number here; the file was changed since vemora-host wrote "
                                  "it (its lines do not match the checksum of its closing line), so it is not read "
                                  "(nothing was changed). Mend the line, then seal the file again: vemora-host --state " +
                                  path + " --accept-edits");
}

TEST_F(HandEdit, AFileCutShortOrNotAStateIsNeverAccepted) {
    const std::string cutAtLine = written.substr(0, written.find("config 139019"));
    const std::string cutInLine = written.substr(0, written.size() - 3);
    for (const std::string& cut : {cutAtLine, cutInLine}) {
        write(cut);
        EXPECT_NE(acceptError().find(", so it may be cut short: its edits are not accepted (nothing was changed)"),
                  std::string::npos)
            << acceptError();
        EXPECT_EQ(contents(), cut);
    }
    write("uid,display\n1,Ala\nend 2 00000000\n");
    EXPECT_EQ(acceptError(), path + ":1: not a vemora-host state file");
    write(edited("vemora-host-state 2", "vemora-host-state 1"));
    EXPECT_NE(acceptError().find("state file version 1 is not the one"), std::string::npos);
}

}  // namespace
}  // namespace vemora::standin
