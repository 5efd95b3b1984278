// rename() replaces the target atomically on POSIX systems.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "file_io.h"

namespace vemora::standin {

bool replaceFile(const std::string& from, const std::string& to, std::string& reason) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    reason = std::strerror(errno);
    return false;
}

}  // namespace vemora::standin
