// FlushFileBuffers puts the new file on the disk before the move;
// MoveFileExW with MOVEFILE_REPLACE_EXISTING replaces the target in one step
// on one volume (the new file lies beside it), and WRITE_THROUGH returns only
// once the move is on the disk.
#include <windows.h>

#include <algorithm>
#include <utility>

#include "file_io.h"
#include "host_error.h"
#include "wide_text_windows.h"

namespace vemora::standin {

namespace {

std::string failure(const std::string& what, const std::filesystem::path& path) {
    return "cannot " + what + " " + utf8Name(path) + ": " + systemErrorText(GetLastError());
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

private:
    HANDLE handle_;
};

}  // namespace

void writeDurably(const std::filesystem::path& path, std::string_view content,
                  std::optional<std::filesystem::perms> permissions) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) throw HostError(failure("write", path));
    for (size_t written = 0; written < content.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - written, 1u << 30));
        DWORD count = 0;
        if (!WriteFile(file.get(), content.data() + written, chunk, &count, nullptr)) {
            throw HostError(failure("write", path));
        }
        written += count;
    }
    if (!FlushFileBuffers(file.get()) || !file.close()) throw HostError(failure("write", path));
    // Windows keeps of the permission bits only whether the file may be
    // written (the read-only attribute).
    if (permissions) {
        std::error_code error;
        std::filesystem::permissions(path, *permissions, error);
        if (error) throw HostError("cannot set the permissions of " + utf8Name(path) + ": " + error.message());
    }
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& reason) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    reason = systemErrorText(GetLastError());
    return false;
}

}  // namespace vemora::standin
