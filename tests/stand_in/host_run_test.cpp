// Whole runs of the stand-in, in process: the state file is written only
// when a run changed the tables, through a symbolic link and with the
// file's permissions kept; typed sessions go on after an error; each class
// of failure has its exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

#include "clock_override.h"
#include "file_io.h"
#include "host_run.h"

namespace vemora::standin {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& path) { return readWholeFile(utf8Name(path)).value_or("(absent)"); }

class HostRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("vemora-run-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        state = folder / "vemora-host.state";
        std::ofstream(folder / "book.csv") << "uid,net,display,birth date\n1,1,Ala,1990-03-09\n";
    }
    void TearDown() override {
        pinClock(std::nullopt);
        fs::remove_all(folder);
    }

    // Runs the commands as -e options, or typed at a terminal.
    int run(std::initializer_list<std::string> commands, bool typed = false) {
        Options options;
        options.statePath = utf8Name(state);
        options.pluginPath = VEMORA_SO_PATH;
        options.bold = Options::Bold::Never;
        std::string typedLines;
        for (const std::string& command : commands) {
            if (typed) {
                typedLines += command + "\n";
            } else {
                options.sources.push_back({CommandSource::Kind::Inline, command});
            }
        }
        options.interactive = typed;
        std::istringstream in(typedLines);
        std::ostringstream out;
        std::ostringstream err;
        const int status = runHost(options, in, out, err);
        output = out.str();
        errors = err.str();
        return status;
    }

    std::string book() const { return utf8Name(folder / "book.csv"); }

    fs::path folder;
    fs::path state;
    std::string output;
    std::string errors;
};

TEST_F(HostRun, OnlyARunThatChangesTheTablesWritesTheStateFile) {
    ASSERT_EQ(run({"show contacts"}), 0) << errors;
    EXPECT_FALSE(fs::exists(state)) << "nothing to keep, nothing written";

    ASSERT_EQ(run({"import " + book(), "start"}), 0) << errors;
    const std::string written = contentOf(state);
    ASSERT_NE(written, "(absent)");

    // Were any of these runs to write, the new file could not be made.
    fs::create_directory(fs::path(state) += ".new");
    EXPECT_EQ(run({"show contacts", "get contact 1 display"}), 0) << errors;
    EXPECT_EQ(run({"start", "show contacts"}), 0) << errors;  // registers the same columns again
    EXPECT_EQ(run({"import " + book()}), 0) << errors;         // the same contact again
    EXPECT_EQ(contentOf(state), written);

    EXPECT_EQ(run({"start", "set contact 1 wish-mode 1"}), 1);
    EXPECT_NE(errors.find("cannot write"), std::string::npos) << errors;
    EXPECT_EQ(contentOf(state), written);
}

TEST_F(HostRun, AFailedScriptStopsAtItsErrorAndKeepsNothing) {
    ASSERT_EQ(run({"import " + book()}), 0) << errors;
    const std::string before = contentOf(state);
    EXPECT_EQ(run({"import " + book(), "echo a", "get contact 9 display", "echo b"}), 1);
    EXPECT_EQ(output, "[imported " + book() + ": 0 contacts added, 0 changed, 1 unchanged]\na\n");
    EXPECT_EQ(errors, "vemora-host: -e:3: get: no contact \"9\" (contacts are rows 1 to 1)\n");
    EXPECT_EQ(contentOf(state), before);
}

TEST_F(HostRun, TypedCommandsGoOnAfterAnErrorAndTheStateIsSavedAtTheEnd) {
    EXPECT_EQ(run({"imprt book.csv", "import " + book(), "today 2023-02-29", "show contacts"}, true), 0);
    EXPECT_EQ(errors,
              "vemora-host> vemora-host: unknown command \"imprt\" (see vemora-host --help)\n"
              "vemora-host> vemora-host> vemora-host: today: \"2023-02-29\" is an impossible date: February 2023 has "
              "28 days\nvemora-host> vemora-host> \n");
    EXPECT_NE(output.find("[contacts: 1]"), std::string::npos) << output;
    EXPECT_NE(contentOf(state).find("contacts 1\n"), std::string::npos);
}

TEST_F(HostRun, ACommandLineDateTheClockCannotShowIsACommandLineError) {
    Options options;
    options.statePath = utf8Name(state);
    options.today = CivilDate{9999, 12, 31};
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runHost(options, in, out, err), 2);
    EXPECT_EQ(err.str(),
              "vemora-host: --today: 9999-12-31 is outside the dates the plugin's clock can show (1970-01-01 to "
              "2100-12-31)\n");
}

TEST_F(HostRun, ADamagedStateFileIsRefusedAndLeftAsItWas) {
    ASSERT_EQ(run({"import " + book()}), 0) << errors;
    const std::string whole = contentOf(state);
    const std::string cut = whole.substr(0, whole.find('\n', whole.size() / 2) + 1);
    std::ofstream(state, std::ios::binary | std::ios::trunc) << cut;
    EXPECT_EQ(run({"import " + book()}), 1);
    EXPECT_EQ(errors, "vemora-host: " + utf8Name(state) +
                          ": damaged or cut short, so it is not read (nothing was changed): its closing \"end\" line "
                          "is missing\n");
    EXPECT_EQ(contentOf(state), cut);
}

#ifndef _WIN32
TEST_F(HostRun, AStateFileBehindASymbolicLinkIsReplacedThereWithItsPermissions) {
    const fs::path elsewhere = folder / "kept" / "real.state";
    fs::create_directories(elsewhere.parent_path());
    fs::create_symlink(fs::path("kept") / "real.state", state);  // relative, as links often are
    ASSERT_EQ(run({"import " + book()}), 0) << errors;
    ASSERT_TRUE(fs::is_symlink(state));
    fs::permissions(elsewhere, fs::perms::owner_read | fs::perms::owner_write);

    std::ofstream(folder / "book.csv") << "uid,net,display\n2,1,Ola\n";
    ASSERT_EQ(run({"import " + book()}), 0) << errors;
    EXPECT_TRUE(fs::is_symlink(state));
    EXPECT_NE(contentOf(elsewhere).find("contacts 2\n"), std::string::npos);
    EXPECT_EQ(fs::status(elsewhere).permissions() & fs::perms::mask, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(fs::path(elsewhere) += ".new"));
}
#endif

}  // namespace
}  // namespace vemora::standin
