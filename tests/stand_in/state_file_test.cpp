// The state file keeps everything between runs, byte for byte, refuses what
// it cannot read or what was damaged without touching the file, and a save
// cut off at any point leaves the old file or the new one.
#include <gtest/gtest.h>

#include "wire/ids.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "crc32.h"
#include "host_error.h"
#include "state_file.h"

namespace vemora::standin {

namespace {

std::string everyByte() {
    std::string bytes;
    for (int byte = 1; byte < 256; ++byte) bytes += static_cast<char>(byte);
    return bytes;
}

HostModel sampleModel() {
    HostModel model;
    ColumnInfo mode{wire::CONFIG_TABLE, 139014, ValueKind::Int, 0, "", false};
    ColumnInfo text{wire::CONFIG_TABLE, 139019, ValueKind::Text, 0, "Najlepszego, itd.", false};
    ColumnInfo own{wire::CONTACT_TABLE, 139013, ValueKind::Text, 0, "", false};
    model.columns.registerColumn(mode);
    model.columns.registerColumn(text);
    model.columns.registerColumn(own);
    model.tables.set(wire::CONFIG_TABLE, wire::CONFIG_ROW, 139014, CellValue::ofInt(1));
    model.tables.set(wire::CONFIG_TABLE, wire::CONFIG_ROW, 139019, CellValue::ofText("Sto lat \"@name\"\n\\ \xB3\xF3"));
    model.tables.addContact();
    model.tables.addContact();  // an empty row still counts
    model.tables.addContact();
    model.tables.set(wire::CONTACT_TABLE, 1, wire::CNT_UID, CellValue::ofText("4112001"));
    model.tables.set(wire::CONTACT_TABLE, 1, wire::CNT_BIRTH_DATE, CellValue::ofInt(-1));
    model.tables.set(wire::CONTACT_TABLE, 3, 139013, CellValue::ofText(everyByte()));
    model.tables.set(wire::CONTACT_TABLE, 3, 139033, CellValue::ofInt(INT32_MIN));
    return model;
}

TEST(StateFile, RoundTripKeepsTablesAndColumnsByteForByte) {
    const HostModel original = sampleModel();
    HostModel loaded;
    parseState(serializeState(original), "state", loaded);

    EXPECT_EQ(loaded.tables.contactCount(), 3);
    EXPECT_EQ(loaded.tables.configRow(), original.tables.configRow());
    for (int32_t row = 1; row <= 3; ++row) EXPECT_EQ(loaded.tables.contactRow(row), original.tables.contactRow(row));
    const ColumnInfo* text = loaded.columns.find(wire::CONFIG_TABLE, 139019);
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->registered);
    EXPECT_EQ(text->kind, ValueKind::Text);
    EXPECT_EQ(text->defaultText, "Najlepszego, itd.");
    EXPECT_EQ(loaded.columns.registeredColumns().size(), 3u);
    EXPECT_EQ(serializeState(loaded), serializeState(original));
}

TEST(StateFile, TextsAreReadableUtf8WithEscapesOnlyWhereNeeded) {
    const std::string text = serializeState(sampleModel());
    EXPECT_NE(text.find("config 139019 text \"Sto lat \\\"@name\\\"\\n\\\\ łó\"\n"), std::string::npos) << text;
    // 0x81 has no character in code page 1250: it is kept as an escape.
    EXPECT_NE(text.find("\\x81"), std::string::npos);
}

// A body with the closing line the writer would give it.
std::string sealed(const std::string& body) {
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", crc32(body));
    return body + "end " + std::to_string(std::count(body.begin(), body.end(), '\n')) + " " + crc + "\n";
}

std::string errorOf(const std::string& content) {
    HostModel model;
    model.tables.addContact();
    try {
        parseState(content, "s", model);
    } catch (const HostError& error) {
        EXPECT_EQ(model.tables.contactCount(), 1) << "a failed parse must leave the model alone";
        return error.what();
    }
    return "(no error)";
}

TEST(StateFile, RefusesWhatItCannotUnderstand) {
    EXPECT_EQ(errorOf(""), "s: not a vemora-host state file (it is empty)");
    EXPECT_EQ(errorOf("contacts 1\n"), "s:1: not a vemora-host state file");
    EXPECT_EQ(errorOf("# only a comment\n"), "s: not a vemora-host state file");
    EXPECT_EQ(errorOf(sealed("vemora-host-state 1\n")),
              "s:1: state file version 1 is not the one this vemora-host reads (2); move the file away to start afresh");
    EXPECT_EQ(errorOf(sealed("vemora-host-state 2\ncontact 1 8 text \"A\"\n")),
              "s:2: contact 1 lies beyond the number of contacts");
    EXPECT_EQ(errorOf(sealed("vemora-host-state 2\nconfig 139014 int x\n")), "s:2: \"x\" is not a valid number here");
    EXPECT_EQ(errorOf(sealed("vemora-host-state 2\nconfig 139014 text A\n")),
              "s:2: a value is int NUMBER or text \"TEXT\"");
    EXPECT_EQ(errorOf(sealed("vemora-host-state 2\nrows 3\n")), "s:2: unknown entry \"rows\"");
    EXPECT_EQ(errorOf(sealed("vemora-host-state 2\ncolumn other 5 int 0\n")), "s:2: unknown table \"other\"");
    EXPECT_EQ(errorOf(sealed("vemora-host-state 2\ncontacts 1\ncontact 1 8 text \"A\" int\n")),
              "s:3: \"contact\" needs 4 values");
}

TEST(StateFile, AFileCutShortAnywhereOrChangedInAnyByteIsRefused) {
    const std::string whole = serializeState(sampleModel());
    const std::string damaged = "s: damaged or cut short, so it is not read (nothing was changed): ";
    // Cut at a line end: the lines read are good ones, only the count shows it.
    const size_t halfway = whole.find('\n', whole.size() / 2) + 1;
    EXPECT_EQ(errorOf(whole.substr(0, halfway)), damaged + "its closing \"end\" line is missing");
    EXPECT_EQ(errorOf(whole.substr(0, whole.size() - 1)), damaged + "it ends in the middle of a line");
    const size_t closing = whole.rfind("end ");
    const auto lines = std::count(whole.begin(), whole.end(), '\n') - 1;
    // A line taken out is what a hand edit does too: the refusal says how to go on.
    EXPECT_EQ(errorOf(whole.substr(0, whole.rfind('\n', closing - 2) + 1) + whole.substr(closing)),
              "s: changed since vemora-host wrote it (it has " + std::to_string(lines - 1) +
                  " lines before its closing line, which counts " + std::to_string(lines) +
                  "), so it is not read (nothing was changed). If you edited it by hand, this checks it line by "
                  "line and seals it again: vemora-host --state s --accept-edits");
    EXPECT_EQ(errorOf(whole + "contact 1 8 text \"A\"\n"), damaged + "its closing \"end\" line is missing");

    const size_t versionLineEnd = whole.find('\n', whole.find("vemora-host-state")) + 1;
    for (size_t cut = versionLineEnd; cut < whole.size(); ++cut) {
        EXPECT_EQ(errorOf(whole.substr(0, cut)).rfind(damaged, 0), 0u) << "cut after " << cut << " bytes";
    }
    for (size_t at = versionLineEnd; at < whole.size(); ++at) {
        std::string changed = whole;
        changed[at] = static_cast<char>(changed[at] ^ 0x04);
        EXPECT_NE(errorOf(changed), "(no error)") << "byte " << at << " changed";
    }
}

class StateFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        path = (std::filesystem::temp_directory_path() /
                ("vemora-state-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                   .string();
        std::filesystem::remove(path);
    }
    void TearDown() override {
        std::filesystem::remove(path);
        std::filesystem::remove(path + ".new");
    }
    std::string path;
};

TEST_F(StateFileOnDisk, AMissingFileIsAFreshStartAndSavingCreatesIt) {
    HostModel model;
    EXPECT_FALSE(loadState(path, model));
    HostModel saved = sampleModel();
    saveState(path, saved);
    HostModel loaded;
    EXPECT_TRUE(loadState(path, loaded));
    EXPECT_EQ(serializeState(loaded), serializeState(sampleModel()));
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

TEST_F(StateFileOnDisk, AnUnreadableFileStopsTheLoad) {
    std::ofstream(path) << "garbage\n";
    HostModel model;
    EXPECT_THROW(loadState(path, model), HostError);
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_THROW(loadState(path, model), HostError);
    std::filesystem::remove(path);
}

// A save stopped at every step, as by a crash or a power cut: after each
// byte of the new file, and once it is complete but not yet renamed. The
// next run reads the old tables whole, and a save after it succeeds.
TEST_F(StateFileOnDisk, ASaveStoppedAtAnyStepLeavesTheOldFileWhole) {
    // Small, since every byte is one more save.
    HostModel old;
    old.tables.set(wire::CONFIG_TABLE, wire::CONFIG_ROW, 139019, CellValue::ofText("Stary tekst"));
    saveState(path, old);
    const std::string oldContent = serializeState(old);
    HostModel changed = old;
    changed.tables.set(wire::CONFIG_TABLE, wire::CONFIG_ROW, 139019, CellValue::ofText("Nowy tekst"));
    changed.tables.addContact();
    const std::string newContent = serializeState(changed);

    std::vector<WriteStop> stops;
    for (size_t bytes = 0; bytes <= newContent.size(); ++bytes) stops.push_back({bytes});
    stops.push_back({});  // complete, before the rename
    for (const WriteStop& stop : stops) {
        EXPECT_THROW(saveState(path, changed, &stop), WriteStopped);
        HostModel next;
        ASSERT_NO_THROW(loadState(path, next)) << "stopped after " << stop.afterBytes.value_or(newContent.size());
        ASSERT_EQ(serializeState(next), oldContent);
    }
    saveState(path, changed);
    HostModel next;
    loadState(path, next);
    EXPECT_EQ(serializeState(next), newContent);
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

TEST_F(StateFileOnDisk, ASaveThatFailsLeavesTheOldFileAndNothingBeside) {
    HostModel model = sampleModel();
    saveState(path, model);
    std::filesystem::create_directory(path + ".new");  // the new file cannot be made
    EXPECT_THROW(saveState(path, model), HostError);
    std::filesystem::remove(path + ".new");
    HostModel loaded;
    EXPECT_NO_THROW(loadState(path, loaded));
}

}  // namespace
}  // namespace vemora::standin
