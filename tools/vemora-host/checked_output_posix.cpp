#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "checked_output.h"

namespace vemora::standin {

bool writeStandardStream(StandardStream stream, const char* data, size_t size, std::string& reason) {
    const int fd = stream == StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO;
    while (size > 0) {
        const ssize_t count = ::write(fd, data, size);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            // A write of nothing: the device takes no more, as a full one.
            reason = std::strerror(count < 0 ? errno : ENOSPC);
            return false;
        }
        data += count;
        size -= static_cast<size_t>(count);
    }
    return true;
}

}  // namespace vemora::standin
