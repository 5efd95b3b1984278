// Straight to the standard handles, past the C runtime: its text mode would
// turn "\n" into CR LF, and it leaves a failed write for no one to see.
#include <windows.h>

#include <algorithm>

#include "checked_output.h"
#include "wide_text_windows.h"

namespace vemora::standin {

bool writeStandardStream(StandardStream stream, const char* data, size_t size, std::string& reason) {
    const HANDLE handle = GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        reason = "the process has no such handle";
        return false;
    }
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(handle, data, chunk, &written, nullptr)) {
            reason = systemErrorText(GetLastError());
            return false;
        }
        if (written == 0) {
            reason = systemErrorText(ERROR_DISK_FULL);
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

}  // namespace vemora::standin
