// The texts a strict host hands the plugin (cell reads, control values),
// each valid exactly as long as the plugin may rely on it and no longer: until
// the plugin's next call into the host begins, except a contact's uid, which
// a wish carries in its chat message and which stays valid until the next
// REQ_MESSAGE_NEW has returned. Once a text expires it is overwritten (the
// tests' recording host: a plugin that kept it sends visibly wrong bytes) or
// freed (the fuzz host: AddressSanitizer sees any later read).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "wire/host_binding.h"

namespace vemora::wire {

class AnsweredTexts {
public:
    enum class OnExpiry { Overwrite, Free };
    // What an expired text is overwritten with, byte for byte (its end stays).
    static constexpr char EXPIRED = '#';

    explicit AnsweredTexts(OnExpiry onExpiry) : onExpiry_(onExpiry) {}

    // Around each of the plugin's calls into the host.
    void begin();
    void end(const OperationCall& call);

    // A text answered to a read of that cell, or (no cell) as a control's value.
    const char* answerCell(uint32_t table, uint32_t column, std::string_view text);
    const char* answerValue(std::string_view text);

    // Every text expires, as when the plugin's IMessageProc returns.
    void expireAll();

private:
    struct Kept {
        std::unique_ptr<char[]> bytes;
        size_t length = 0;
        bool untilMessageNew = false;
    };
    const char* keep(std::string_view text, bool untilMessageNew);
    void expire(bool keepUids);

    OnExpiry onExpiry_;
    std::vector<Kept> live_;
    std::vector<std::unique_ptr<char[]>> overwritten_;  // kept, so that a late read sees the filler
};

}  // namespace vemora::wire
