// A hostile but contract-keeping host for the fuzz target. Every answer comes
// from the fuzz input: contact counts (also negative, also changing during a
// walk), birth dates, cell values, null and odd texts, message numbers, radio
// values. It answers by request id only, so it serves whatever the plugin's
// features send. Requests whose result the plugin does not rely on get one
// answer per incoming record, chosen with the scenario.
//
// It is strict where the contract lets it be: it reads every record the
// plugin sends up to the record's own size and every text it points to (so
// AddressSanitizer sees a record shorter than it claims or an unterminated
// text), it hands out each text in a buffer of exactly its length, and it
// frees a text as soon as it answers the next text read.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "fuzz_input.h"
#include "host/host_control.h"
#include "host/messages.h"
#include "host_binding.h"

namespace vemora::fuzz {

// Reports a broken rule and stops the run, so the fuzzer keeps the input.
[[noreturn]] void fail(const char* format, ...) __attribute__((format(printf, 1, 2)));

// VEMORA_FUZZ_TRACE=1 prints every record, request and answer: to read a
// failing input.
bool tracing();

// How the host behaves during one incoming record: its contact table, and
// its answer to requests whose result the plugin does not rely on.
struct MessageScenario {
    enum class Count { Fixed, ReadEachTime };
    enum class Birthdays { Nobody, Everybody, EveryKth, ReadEachTime };
    Count countMode = Count::Fixed;
    int32_t count = 0;
    Birthdays birthdays = Birthdays::Nobody;
    int32_t every = 1;
    uint32_t otherAnswer = 0;  // for requests whose result is not relied on
};

class FuzzHost {
public:
    // Birthdays that match are given today's month and day.
    FuzzHost(FuzzInput& input, int32_t todayMonth, int32_t todayDay);
    ~FuzzHost();
    FuzzHost(const FuzzHost&) = delete;
    FuzzHost& operator=(const FuzzHost&) = delete;

    HostControl* control() { return binding_.control(); }

    // Called around each incoming record: a fresh contact table (read from
    // the scenario) before, and after it every text the host handed out is
    // gone.
    void beginMessage();
    void endMessage();

    // The largest number of contacts any count answer allowed, so that the
    // walk of one rebuild stays short.
    static constexpr int32_t MAX_CONTACTS = 400;

private:
    // The host's operations, called by the plugin through the binding.
    friend class HostBinding<FuzzHost>;
    void* hostGetPluginModule();
    void hostSetError(int32_t code);
    uint32_t hostSendMessage(MessageHeader* record);
    int32_t hostGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value);
    int32_t hostSetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value);

    uint32_t onMessage(const MessageHeader* header);
    uint32_t answerTo(uint32_t id, uint32_t p1, const std::vector<uint8_t>& payload);
    void onGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value);
    int32_t onSetValue(uint32_t table, int32_t row, uint32_t column, const ValueRecord* value);

    int32_t contactCount();
    int32_t birthDate(int32_t row);
    int32_t anyInt();
    // A text answer: null, or a fresh buffer of exactly the text's length.
    const char* text();
    // Writes a text into a caller's buffer of the given size, as a host would.
    void fillBuffer(char* buffer, uint32_t bufferSize);

    FuzzInput::Stream& scenario_;
    FuzzInput::Stream& answers_;
    int32_t todayMonth_;
    int32_t todayDay_;
    HostBinding<FuzzHost> binding_{*this};
    MessageScenario scene_;
    std::unique_ptr<char[]> lastText_;  // the one text still valid
};

}  // namespace vemora::fuzz
