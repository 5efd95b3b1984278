// One run at a time on a state file, in process: a second lock on the same
// state waits, then gives up naming the holder; the lock goes with its
// holder; two names of one state share one lock. (Two real processes, and
// a killed one, are tried by tests/e2e/processes.py.)
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "file_io.h"
#include "host_error.h"
#include "state_lock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vemora::standin {
namespace {

namespace fs = std::filesystem;

unsigned long thisProcess() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(::getpid());
#endif
}

class StateLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("vemora-lock-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        state = utf8Name(folder / "a.state");
    }
    void TearDown() override { fs::remove_all(folder); }

    // The error of a second lock that waits `patience`, and what it was told meanwhile.
    std::string secondLock(const std::string& path, std::chrono::milliseconds patience) {
        told.clear();
        try {
            StateLock second(path, patience, [&](const std::string& line) { told.push_back(line); });
        } catch (const HostError& error) {
            return error.what();
        }
        return "(taken)";
    }

    fs::path folder;
    std::string state;
    std::vector<std::string> told;
};

TEST_F(StateLockTest, ASecondRunWaitsThenGivesUpNamingTheStateAndTheHolder) {
    const auto noop = [](const std::string&) {};
    {
        StateLock first(state, std::chrono::seconds(0), noop);
        const std::string holder = "another vemora-host (process " + std::to_string(thisProcess()) + ")";
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(secondLock(state, std::chrono::milliseconds(300)),
                  "cannot use " + state + ": " + holder + " is using it; waited 300 milliseconds, nothing was changed");
        EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));
        EXPECT_EQ(told, std::vector<std::string>{state + ": " + holder + " is using it; waiting for it to end"});
    }
    // Gone with its holder: the next one takes it at once, without a word.
    EXPECT_EQ(secondLock(state, std::chrono::milliseconds(0)), "(taken)");
    EXPECT_TRUE(told.empty());
    EXPECT_TRUE(fs::exists(state + ".lock"));
    EXPECT_FALSE(fs::exists(state)) << "the lock never makes the state file";
}

#ifndef _WIN32
TEST_F(StateLockTest, TwoNamesOfOneStateShareOneLock) {
    fs::create_directories(folder / "kept");
    fs::create_symlink(fs::path("kept") / "real.state", state);
    StateLock first(state, std::chrono::seconds(0), [](const std::string&) {});
    EXPECT_TRUE(fs::exists(folder / "kept" / "real.state.lock"));
    EXPECT_NE(secondLock(utf8Name(folder / "kept" / "real.state"), std::chrono::milliseconds(0)), "(taken)");
}
#endif

TEST_F(StateLockTest, AFolderThatCannotHoldALockFileIsOneNoRunCanSaveIn) {
    // No folder at all: nothing to lock, and nothing would be saved there either.
    const std::string nowhere = utf8Name(folder / "missing" / "a.state");
    StateLock first(nowhere, std::chrono::seconds(0), [](const std::string&) {});
    EXPECT_EQ(secondLock(nowhere, std::chrono::milliseconds(0)), "(taken)");
}

}  // namespace
}  // namespace vemora::standin
