#include "state_lock.h"

#include "file_io.h"
#include "host_error.h"

namespace vemora::standin {

namespace {

constexpr unsigned POLL_MILLISECONDS = 50;

// "another vemora-host (process 4242)", or without the id when the lock
// file holds none (its owner had only read access, or is writing it now).
std::string otherRun(const std::filesystem::path& lockPath) {
    std::string owner;
    try {
        owner = readWholeFile(utf8Name(lockPath)).value_or("");
    } catch (const HostError&) {
    }
    while (!owner.empty() && (owner.back() == '\n' || owner.back() == '\r')) owner.pop_back();
    const bool digits = !owner.empty() && owner.size() <= 10 && owner.find_first_not_of("0123456789") == std::string::npos;
    return digits ? "another vemora-host (process " + owner + ")" : "another vemora-host";
}

// "3 seconds", or "300 milliseconds" for a wait shorter than a second.
std::string spoken(std::chrono::milliseconds wait) {
    const auto count = wait.count();
    if (count < 1000 || count % 1000 != 0) return std::to_string(count) + " milliseconds";
    return std::to_string(count / 1000) + " seconds";
}

}  // namespace

StateLock::StateLock(const std::string& statePath, std::chrono::milliseconds patience,
                     const std::function<void(const std::string&)>& waiting) {
    std::filesystem::path lockPath = followLinks(utf8Path(statePath));
    lockPath += ".lock";
    std::string reason;
    file_ = openLockFile(lockPath, reason);
    if (!file_) return;

    const auto giveUp = std::chrono::steady_clock::now() + patience;
    bool told = false;
    while (!file_->tryLock()) {
        if (std::chrono::steady_clock::now() >= giveUp) {
            throw HostError("cannot use " + statePath + ": " + otherRun(lockPath) + " is using it; waited " +
                            spoken(patience) + ", nothing was changed");
        }
        if (!told) {
            waiting(statePath + ": " + otherRun(lockPath) + " is using it; waiting for it to end");
            told = true;
        }
        sleepMilliseconds(POLL_MILLISECONDS);
    }
    file_->recordOwner();
}

}  // namespace vemora::standin
