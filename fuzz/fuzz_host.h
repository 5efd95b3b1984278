// A hostile but contract-keeping host for the fuzz target. Every answer comes
// from the fuzz input: contact counts (also negative, also changing during a
// walk), birth dates, cell values, null and odd texts, message numbers, radio
// values. It answers by request id only, so it serves whatever the plugin's
// features send. Requests whose result the plugin does not rely on get one
// answer per incoming record, chosen with the scenario.
//
// It is strict where the contract lets it be: every record the plugin sends
// is read through the decoder (as long as it says, up to its kind's longest
// form, and every text it points to), so AddressSanitizer sees a record shorter than it claims or an unterminated
// text, and any fault the decoder finds (a size, a missing record, a null
// text) stops the run; it hands out each text in a buffer of exactly its
// length, and frees it as soon as the plugin may no longer use it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "wire/answered_texts.h"
#include "wire/host_binding.h"

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
    FuzzHost(const FuzzHost&) = delete;
    FuzzHost& operator=(const FuzzHost&) = delete;

    wire::HostControl* control() { return binding_.control(); }

    // Called around each incoming record: a fresh contact table (read from
    // the scenario) before, and after it every text the host handed out is
    // gone.
    void beginMessage();
    void endMessage();

    // A host may answer some requests only after pumping window messages
    // (the information box, the popup, a new chat message, the contact
    // count), and so deliver the user's next click while the plugin waits:
    // from inside those, when the input says so, the host calls this, which
    // delivers a record of its own.
    void setReentry(std::function<void()> reentry) { reentry_ = std::move(reentry); }

    // The largest number of contacts any count answer allowed, so that the
    // walk of one rebuild stays short.
    static constexpr int32_t MAX_CONTACTS = 400;
    // How deep calls may nest, and how many an incoming record may cause, so
    // that one run stays short.
    static constexpr int MAX_REENTRY_DEPTH = 2;
    static constexpr int MAX_REENTRIES_PER_RECORD = 4;

    // Every call of the plugin's, through the binding.
    uint32_t onOperation(wire::OperationCall& call);

private:
    uint32_t answer(wire::OperationCall& call);
    void maybeReenter(uint32_t id);
    uint32_t answerTo(const wire::Request& request);
    void onGetValue(uint32_t table, int32_t row, uint32_t column, wire::ValueRecord* value);

    int32_t contactCount();
    int32_t birthDate(int32_t row);
    int32_t anyInt();
    // The text of a text answer; nullopt: a null pointer.
    std::optional<std::string> chooseText();
    // Writes a text into a caller's buffer of the given size, as a host would.
    void fillBuffer(char* buffer, uint32_t bufferSize);

    FuzzInput::Stream& scenario_;
    FuzzInput::Stream& answers_;
    int32_t todayMonth_;
    int32_t todayDay_;
    wire::HostBinding<FuzzHost> binding_{*this};
    MessageScenario scene_;
    wire::AnsweredTexts texts_{wire::AnsweredTexts::OnExpiry::Free};
    std::function<void()> reentry_;
    int reentryDepth_ = 0;
    int reentriesLeft_ = 0;
};

}  // namespace vemora::fuzz
