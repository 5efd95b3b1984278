// MoveFileExW with MOVEFILE_REPLACE_EXISTING replaces the target in one
// step on one volume (the temporary file lies beside it); WRITE_THROUGH
// returns only once the move is on the disk.
#include <windows.h>

#include "file_io.h"
#include "wide_text_windows.h"

namespace vemora::standin {

bool replaceFile(const std::string& from, const std::string& to, std::string& reason) {
    if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    reason = systemErrorText(GetLastError());
    return false;
}

}  // namespace vemora::standin
