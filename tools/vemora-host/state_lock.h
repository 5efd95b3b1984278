// One run at a time on a state file. A run holds a lock for its whole life
// (a typed session too) on a lock file beside the state file: NAME.lock,
// beside the file a symbolic link leads to, so that two names for one state
// share one lock. The lock file stays there between runs, holding the
// process id of the last run that held it; the lock itself is the system's
// (lock_file.h) and goes with the process, so a killed run never blocks the
// next. Where no lock file can be made (a folder this user cannot write) the
// run goes on without one: it could not save into that folder either.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "lock_file.h"

namespace vemora::standin {

// How long a run waits for another to end before it gives up.
inline constexpr std::chrono::seconds STATE_LOCK_PATIENCE{3};

class StateLock {
public:
    // Takes the lock, waiting up to `patience` while another process holds
    // it; `waiting` is told once, with a line to show, when it must wait.
    // Throws HostError naming the state and the other run (its process id
    // where the lock file tells it) when the wait was in vain.
    StateLock(const std::string& statePath, std::chrono::milliseconds patience,
              const std::function<void(const std::string&)>& waiting);

private:
    std::unique_ptr<LockFile> file_;
};

}  // namespace vemora::standin
