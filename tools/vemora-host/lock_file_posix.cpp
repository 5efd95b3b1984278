// flock locks the open file, not the process: a second open of the same
// file, even in this process, is refused while the first holds it.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "lock_file.h"

namespace vemora::standin {

namespace {

class PosixLockFile : public LockFile {
public:
    PosixLockFile(int fd, bool writable) : fd_(fd), writable_(writable) {}
    ~PosixLockFile() override { ::close(fd_); }  // closing lets the lock go
    PosixLockFile(const PosixLockFile&) = delete;
    PosixLockFile& operator=(const PosixLockFile&) = delete;

    bool tryLock() override {
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EINTR) return false;
        }
        return true;
    }

    void recordOwner() override {
        if (!writable_) return;
        const std::string owner = std::to_string(::getpid()) + "\n";
        // Not checked further: the id only makes another run's message more helpful.
        if (::ftruncate(fd_, 0) != 0) return;
        if (::pwrite(fd_, owner.data(), owner.size(), 0) < 0) return;
    }

private:
    int fd_;
    bool writable_;
};

}  // namespace

std::unique_ptr<LockFile> openLockFile(const std::filesystem::path& path, std::string& reason) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) return std::make_unique<PosixLockFile>(fd, true);
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) return std::make_unique<PosixLockFile>(fd, false);
    reason = std::strerror(errno);
    return nullptr;
}

void sleepMilliseconds(unsigned milliseconds) { ::usleep(milliseconds * 1000u); }

}  // namespace vemora::standin
