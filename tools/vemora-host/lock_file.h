// An advisory lock on a file, one implementation per platform: flock on
// Linux, LockFileEx on Windows. The system lets it go when the process ends,
// however it ends, so a lock left by a run that was killed never blocks.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace vemora::standin {

class LockFile {
public:
    virtual ~LockFile() = default;
    // Takes the lock if no other process holds it; never waits.
    virtual bool tryLock() = 0;
    // Writes this process's id into the file, for a run that finds it taken.
    virtual void recordOwner() = 0;
};

// Opens the file, creating it when it is not there; read-only when it
// cannot be written (the lock works all the same). Null, with the system's
// reason, when it can be neither opened nor made.
std::unique_ptr<LockFile> openLockFile(const std::filesystem::path& path, std::string& reason);

// Sleeps between two tries of a lock.
void sleepMilliseconds(unsigned milliseconds);

}  // namespace vemora::standin
