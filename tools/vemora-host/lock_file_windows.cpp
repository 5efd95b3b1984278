// Windows locks byte ranges, and a locked range cannot even be read by
// others: the lock is taken on one byte far past the end of the file, so
// that the process id at its start stays readable.
#include <windows.h>

#include <string>

#include "lock_file.h"
#include "wide_text_windows.h"

namespace vemora::standin {

namespace {

constexpr DWORD LOCKED_BYTE_OFFSET = 0x40000000;  // 1 GiB: beyond any id written here

class WindowsLockFile : public LockFile {
public:
    WindowsLockFile(HANDLE handle, bool writable) : handle_(handle), writable_(writable) {}
    ~WindowsLockFile() override { CloseHandle(handle_); }  // closing lets the lock go
    WindowsLockFile(const WindowsLockFile&) = delete;
    WindowsLockFile& operator=(const WindowsLockFile&) = delete;

    bool tryLock() override {
        OVERLAPPED where{};
        where.Offset = LOCKED_BYTE_OFFSET;
        return LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where) != 0;
    }

    void recordOwner() override {
        if (!writable_) return;
        const std::string owner = std::to_string(GetCurrentProcessId()) + "\n";
        // Not checked: the id only makes another run's message more helpful.
        DWORD written = 0;
        if (SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(handle_)) {
            WriteFile(handle_, owner.data(), static_cast<DWORD>(owner.size()), &written, nullptr);
        }
    }

private:
    HANDLE handle_;
    bool writable_;
};

HANDLE openShared(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::unique_ptr<LockFile> openLockFile(const std::filesystem::path& path, std::string& reason) {
    HANDLE handle = openShared(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    if (handle != INVALID_HANDLE_VALUE) return std::make_unique<WindowsLockFile>(handle, true);
    handle = openShared(path, GENERIC_READ, OPEN_EXISTING);
    if (handle != INVALID_HANDLE_VALUE) return std::make_unique<WindowsLockFile>(handle, false);
    reason = systemErrorText(GetLastError());
    return nullptr;
}

void sleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace vemora::standin
