// Whole runs of the stand-in, in process: the state file is written only
// when a run changed the tables, through a symbolic link and with the
// file's permissions kept; typed sessions go on after an error, a cancelled
// line or a typed control byte; each class of failure has its exit status;
// output that cannot be written fails the run; set keeps to the values the
// plugin offers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <utility>
#include <vector>
#include <sstream>
#include <string>

#include "clock_override.h"
#include "file_io.h"
#include "host_error.h"
#include "host_run.h"
#include "typed_lines.h"

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
        return runWith(commands, typed, nullptr, nullptr);
    }

    int runWith(std::initializer_list<std::string> commands, bool typed, TypedLines* lines, std::streambuf* device) {
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
        if (device != nullptr) static_cast<std::ostream&>(out).rdbuf(device);
        const int status = runHost(options, in, out, err, lines);
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

// Lines as a person types them, Ctrl-C included.
class TypedScript : public TypedLines {
public:
    explicit TypedScript(std::vector<std::pair<Result, std::string>> lines) : lines_(std::move(lines)) {}
    Result next(std::string& line) override {
        if (next_ == lines_.size()) return Result::End;
        line = lines_[next_].second;
        return lines_[next_++].first;
    }

private:
    std::vector<std::pair<Result, std::string>> lines_;
    size_t next_ = 0;
};

TEST_F(HostRun, CtrlCCancelsTheTypedLineAndQuitEndsTheSessionSavingWhatChanged) {
    using R = TypedLines::Result;
    TypedScript typed({{R::Line, "import " + book()},
                       {R::Cancelled, ""},  // Ctrl-C: whatever was typed is gone, the session goes on
                       {R::Line, "set contact 1 display Ola"},
                       {R::Line, "quit"},
                       {R::Line, "set contact 1 display \"never typed\""}});
    ASSERT_EQ(runWith({}, true, &typed, nullptr), 0) << errors;
    EXPECT_EQ(errors, "vemora-host> vemora-host> \nvemora-host> vemora-host> ");
    EXPECT_NE(contentOf(state).find("text \"Ola\""), std::string::npos);
    EXPECT_EQ(contentOf(state).find("never typed"), std::string::npos);
}

TEST_F(HostRun, ATypedControlByteIsNeverRunNorShownRaw) {
    ASSERT_EQ(run({"import " + book(), "frob\x1B[A", "set contact 1 display \"A\x1B[2JB\"", "show contacts"}, true), 0);
    EXPECT_EQ(errors.find('\x1B'), std::string::npos) << errors;
    EXPECT_NE(errors.find("vemora-host: the line holds the control byte 0x1B, which arrow and function keys send"),
              std::string::npos)
        << errors;
    EXPECT_NE(output.find("display=\"Ala\""), std::string::npos) << output;
    // A script's words are quoted with the byte escaped.
    EXPECT_EQ(run({"frob\x1B[A"}), 1);
    EXPECT_EQ(errors, "vemora-host: -e:1: unknown command \"frob\\x1B[A\" (see vemora-host --help)\n");
}

// Takes this many bytes, then fails as a full disk does.
class FullDevice : public std::streambuf {
public:
    explicit FullDevice(size_t room) : room_(room) {}

protected:
    int_type overflow(int_type c) override {
        if (room_ == 0) return traits_type::eof();
        --room_;
        return traits_type::not_eof(c);
    }

private:
    size_t room_;
};

TEST_F(HostRun, OutputThatCannotBeWrittenFailsTheRunAndNothingIsSaved) {
    ASSERT_EQ(run({"import " + book()}), 0) << errors;
    const std::string before = contentOf(state);
    for (const size_t room : {size_t{0}, size_t{10}}) {
        FullDevice full(room);
        // Were the run to go on after the failed write, the import would fail in its own words.
        EXPECT_EQ(runWith({"set contact 1 display Ola", "show contacts", "import nowhere.csv"}, false, nullptr, &full), 1);
        EXPECT_EQ(errors, "vemora-host: cannot write the output\n");
        EXPECT_EQ(contentOf(state), before) << room;
    }
}

TEST_F(HostRun, SetKeepsToWhatThePluginOffersUnlessRaw) {
    ASSERT_EQ(run({"import " + book(), "start"}), 0) << errors;  // the plugin's columns are known from now on
    EXPECT_EQ(run({"start", "set contact 1 wish-mode 3"}), 1);
    EXPECT_EQ(errors,
              "vemora-host: -e:2: set: column wish-mode takes one of the options the plugin offers for it (0 Domyślna, "
              "1 Własna, 2 Nie wysyłaj życzeń), not \"3\" (\"set --raw\" writes any number)\n");
    EXPECT_EQ(run({"start", "set config info-mode 7"}), 1);
    EXPECT_NE(errors.find("(0 Zanthor, 1 Okienko), not \"7\""), std::string::npos) << errors;
    // Before start the options are not known.
    EXPECT_EQ(run({"set contact 1 wish-mode 1"}), 1);
    EXPECT_NE(errors.find("known once it runs; use start first, or \"set --raw\""), std::string::npos) << errors;

    ASSERT_EQ(run({"start", "set contact 1 wish-mode \"nie wysyłaj życzeń\"", "set config notify-hide 1",
                   "set --raw config info-mode -5", "set contact 1 gender Kobieta", "set contact 1 birth-date 9.3.1990",
                   "get contact 1 wish-mode", "get config notify-hide", "get config info-mode", "get contact 1 gender",
                   "get contact 1 birth-date"}),
              0)
        << errors;
    EXPECT_NE(output.find("contact 1 wish-mode = 2\nconfig notify-hide = 1\nconfig info-mode = -5\n"
                          "contact 1 gender = 1\ncontact 1 birth-date = 1990-03-09\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(run({"set contact 1 gender 3"}), 1);
    EXPECT_NE(errors.find("column gender takes 1, female, kobieta or K"), std::string::npos) << errors;
    EXPECT_EQ(run({"set --raw contact 1 gender 3", "get contact 1 gender"}), 0) << errors;
    EXPECT_EQ(output, "contact 1 gender = 3\n");
}

TEST_F(HostRun, SelectTakesAnOptionsCaptionInAnyCase) {
    ASSERT_EQ(run({"import " + book(), "start", "select info-mode okienko", "select contact 1 wish-mode WŁASNA",
                   "get config info-mode", "get contact 1 wish-mode"}),
              0)
        << errors;
    EXPECT_NE(output.find("config info-mode = 1\ncontact 1 wish-mode = 1\n"), std::string::npos) << output;
    EXPECT_EQ(run({"start", "select info-mode Okienk"}), 1);
    EXPECT_EQ(errors, "vemora-host: -e:2: select: no option \"Okienk\" (the options are 0 Zanthor, 1 Okienko)\n");
}

TEST_F(HostRun, AcceptEditsRunsAloneAndReadsNoCommands) {
    EXPECT_THROW(parseOptions({"--accept-edits", "-e", "show contacts"}), HostError);
    Options options;
    options.statePath = utf8Name(state);
    options.acceptEdits = true;
    std::istringstream in("import book.csv\n");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runHost(options, in, out, err), 1);
    EXPECT_EQ(err.str(), "vemora-host: cannot read " + utf8Name(state) + ": No such file or directory\n");
    EXPECT_FALSE(fs::exists(state));
}

}  // namespace
}  // namespace vemora::standin
