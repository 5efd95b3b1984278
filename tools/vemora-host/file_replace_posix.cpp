// The write is on the disk before the rename (fsync of the file), and the
// rename is on the disk before the run ends (fsync of the folder): after a
// crash the file holds the old content or the new, never an empty file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "file_io.h"
#include "host_error.h"

namespace vemora::standin {

namespace {

std::string failure(const std::string& what, const std::filesystem::path& path) {
    return "cannot " + what + " " + utf8Name(path) + ": " + std::strerror(errno);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

}  // namespace

void writeDurably(const std::filesystem::path& path, std::string_view content,
                  std::optional<std::filesystem::perms> permissions) {
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() < 0) throw HostError(failure("write", path));
    if (permissions && ::fchmod(file.get(), static_cast<mode_t>(*permissions)) != 0) {
        throw HostError(failure("set the permissions of", path));
    }
    for (size_t written = 0; written < content.size();) {
        const ssize_t count = ::write(file.get(), content.data() + written, content.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) throw HostError(failure("write", path));
        written += static_cast<size_t>(count);
    }
    if (::fsync(file.get()) != 0) throw HostError(failure("write", path));
    if (::close(file.release()) != 0) throw HostError(failure("write", path));
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& reason) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    // The rename is done; a folder that cannot be synced (some file systems
    // refuse) leaves it to the system to write out.
    const std::filesystem::path folder = to.parent_path().empty() ? std::filesystem::path(".") : to.parent_path();
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) ::fsync(directory.get());
    return true;
}

}  // namespace vemora::standin
