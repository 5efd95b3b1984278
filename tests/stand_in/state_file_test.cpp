// The state file keeps everything between runs, byte for byte, and refuses
// what it cannot read without touching the file.
#include <gtest/gtest.h>

#include "wire.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/tables.h"
#include "host_error.h"
#include "state_file.h"

namespace vemora::standin {

namespace wire = testing::wire;
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
    model.tables.set(wire::CONFIG_TABLE, CONFIG_ROW, 139014, CellValue::ofInt(1));
    model.tables.set(wire::CONFIG_TABLE, CONFIG_ROW, 139019, CellValue::ofText("Sto lat \"@name\"\n\\ \xB3\xF3"));
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
    EXPECT_EQ(errorOf("vemora-host-state 2\n"), "s:1: state file version 2 is not understood");
    EXPECT_EQ(errorOf("vemora-host-state 1\ncontact 1 8 text \"A\"\n"),
              "s:2: contact 1 lies beyond the number of contacts");
    EXPECT_EQ(errorOf("vemora-host-state 1\nconfig 139014 int x\n"), "s:2: \"x\" is not a valid number here");
    EXPECT_EQ(errorOf("vemora-host-state 1\nconfig 139014 text A\n"), "s:2: a value is int NUMBER or text \"TEXT\"");
    EXPECT_EQ(errorOf("vemora-host-state 1\nrows 3\n"), "s:2: unknown entry \"rows\"");
    EXPECT_EQ(errorOf("vemora-host-state 1\ncolumn other 5 int 0\n"), "s:2: unknown table \"other\"");
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
    saveState(path, sampleModel());
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

}  // namespace
}  // namespace vemora::standin
