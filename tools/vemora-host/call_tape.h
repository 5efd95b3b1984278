// A recording of the calls a plugin makes into the host (cell reads and
// writes and messages; the module and error calls do no work worth timing),
// with copies of the records and texts they carry, that can be played back
// against the host without the plugin. Timing the playback gives the cost of
// the host's answers alone, with no clock read per call to distort it.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "host/host_control.h"
#include "host/messages.h"

namespace vemora::standin {

class CallTape {
public:
    void recordGetValue(uint32_t table, int32_t row, uint32_t column, const ValueRecord& given);
    void recordSetValue(uint32_t table, int32_t row, uint32_t column, const ValueRecord& given);
    void recordSendMessage(const void* record);

    // Makes every recorded call again, in order, through the control's operations.
    void replay(HostControl* control) const;
    size_t size() const { return calls_.size(); }
    void clear();

private:
    struct Call {
        enum class Kind { GetValue, SetValue, SendMessage } kind;
        uint32_t table = 0;
        int32_t row = 0;
        uint32_t column = 0;
        ValueRecord value{VALUE_INT};
        std::string* record = nullptr;  // SendMessage: the copied record, its pointers redirected to copies
    };

    // A copy of `size` bytes that stays where it is; returns its address.
    std::string* keep(const void* bytes, size_t size);
    uint32_t keepText(uint32_t address);
    void redirectText(std::string& copy, size_t offset);
    void redirectPayload(std::string& copy, size_t offset, uint32_t id);

    std::vector<Call> calls_;
    std::deque<std::string> storage_;
};

}  // namespace vemora::standin
