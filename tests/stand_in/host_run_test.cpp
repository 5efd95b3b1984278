// Whole runs of the stand-in, in process, against the real plugin: the state
// file is written only when a run changed it and succeeded, never over a
// file it cannot read, and not when output is lost; a typed session goes on
// after a failed line; the command table drives help and errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "commands.h"
#include "host_error.h"
#include "host_run.h"
#include "platform.h"

namespace vemora::standin {
namespace {

namespace fs = std::filesystem;

// Takes some bytes, then fails every write, as a full disk does.
class FailingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return taken_++ < 8 ? c : traits_type::eof(); }

private:
    int taken_ = 0;
};

class HostRun : public ::testing::Test {
protected:
    void SetUp() override {
        // A folder of this process's own: the trees' test runs go on side by side.
        folder = fs::temp_directory_path() /
                 ("vemora-run-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                  std::to_string(std::random_device{}()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        state = folder / "vemora-host.state";
        std::ofstream(folder / "book.csv") << "uid,net,display,birth date\n1,1,Ala,1990-03-09\n";
        options.statePath = state.string();
        options.pluginPath = VEMORA_SO_PATH;
        options.today = CivilDate{std::chrono::year{2026}, std::chrono::March, std::chrono::day{9}};
    }
    void TearDown() override {
        pinClock(std::nullopt);
        fs::remove_all(folder);
    }

    int run(std::initializer_list<std::string> commands, std::streambuf* device = nullptr) {
        options.sources.clear();
        for (const std::string& command : commands) {
            const std::string resolved = command == "import" ? "import " + (folder / "book.csv").string() : command;
            options.sources.push_back({CommandSource::Kind::Inline, resolved});
        }
        std::istringstream in(typedLines);
        out.str("");
        errors.str("");
        std::ostream broken(device);
        return runHost(options, in, device != nullptr ? broken : out, errors);
    }

    std::string stateContent() const {
        std::ifstream file(state, std::ios::binary);
        return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "(absent)";
    }

    fs::path folder, state;
    Options options;
    std::string typedLines;
    std::ostringstream out, errors;
};

TEST_F(HostRun, TheStateIsWrittenOnlyByARunThatChangedItAndSucceeded) {
    ASSERT_EQ(run({"import", "start", "select info-mode okienko"}), 0) << errors.str();
    const std::string saved = stateContent();
    EXPECT_NE(saved.find("config 139014 int 1\n"), std::string::npos) << saved;
    EXPECT_FALSE(fs::exists(folder / "vemora-host.state.new"));

    // Only showing: not written at all.
    fs::last_write_time(state, fs::file_time_type::clock::now() - std::chrono::hours(24));
    const fs::file_time_type old = fs::last_write_time(state);  // as the file system keeps it
    ASSERT_EQ(run({"start", "show config", "press birthdays"}), 0) << errors.str();
    EXPECT_EQ(fs::last_write_time(state), old);

    // A run that fails keeps nothing, not even what it did before the failure.
    EXPECT_EQ(run({"set config wish-text \"Nie zapisane\"", "prss wishes"}), 1);
    EXPECT_EQ(errors.str(), "vemora-host: -e:2: unknown command \"prss\" (the commands: today, sample, import, start, "
                            "stop, set, get, select, press, show, notify, message, echo, info, quit)\n");
    EXPECT_EQ(stateContent(), saved);
}

TEST_F(HostRun, AStateFileThatDoesNotReadIsNeverOverwritten) {
    std::ofstream(state, std::ios::binary) << "vemora-host-state 3\ncontacts 1\n";  // cut short
    EXPECT_EQ(run({"import"}), 1);
    EXPECT_NE(errors.str().find("no closing line \"end\""), std::string::npos) << errors.str();
    EXPECT_EQ(stateContent(), "vemora-host-state 3\ncontacts 1\n");
}

TEST_F(HostRun, LostOutputFailsTheRunAndSavesNothing) {
    FailingBuffer full;
    EXPECT_EQ(run({"import", "start"}, &full), 1);
    EXPECT_EQ(errors.str(), "vemora-host: cannot write to standard output\n");
    EXPECT_EQ(stateContent(), "(absent)");
}

TEST_F(HostRun, ATypedSessionReportsAFailedLineGoesOnAndEndsAtQuit) {
    options.typed = true;
    typedLines = "prss\nimport " + (folder / "book.csv").string() + "\nstart\npress \"KTO OBCHODZI URODZINY?\"\n" +
                 "select info-mode OKIENKO\npress birthdays\nquit\nshow contacts\n";
    ASSERT_EQ(run({}), 0);
    EXPECT_EQ(errors.str().rfind("vemora-host> vemora-host: unknown command \"prss\"", 0), 0u) << errors.str();
    // Captions in any case, for a button as for an option.
    EXPECT_NE(out.str().find("[Zanthor popup"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("[information box]\n| Dziś urodziny obchodzą:\n| - Ala skończyła 36 lat\n"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(out.str().find("[contacts:"), std::string::npos) << "nothing runs after quit";
    EXPECT_NE(stateContent().find("contact 1 0 text \"1\"\n"), std::string::npos);
}

TEST_F(HostRun, TheCommandLineAndTheHelpComeFromOneTable) {
    for (const CommandRunner::Command& command : CommandRunner::commands()) {
        EXPECT_NE(usageText().find("\n  " + std::string(command.usage) + "\n"), std::string::npos) << command.name;
    }
    EXPECT_EQ(run({"press"}), 1);
    EXPECT_EQ(errors.str(), "vemora-host: -e:1: usage: press BUTTON\n");
    EXPECT_THROW(parseOptions({"--bold", "never"}), HostError);
    // A plugin that does not load is said in the same words on both builds.
    options.pluginPath = (folder / "no-plugin").string();
    EXPECT_EQ(run({"start"}), 1);
    EXPECT_EQ(errors.str().rfind("vemora-host: -e:1: start: cannot load the plugin " + options.pluginPath + ": ", 0), 0u)
        << errors.str();
    options.today = CivilDate{std::chrono::year{2101}, std::chrono::January, std::chrono::day{1}};
    EXPECT_EQ(run({"start"}), 2);
    EXPECT_EQ(errors.str(), "vemora-host: --today: 2101-01-01 is outside the dates the plugin's clock can show "
                            "(1970-01-01 to 2100-12-31)\n");
}

}  // namespace
}  // namespace vemora::standin
