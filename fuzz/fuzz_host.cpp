#include "fuzz_host.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vemora::fuzz {

void fail(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::fputs("fuzz check failed: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
    std::abort();
}

bool tracing() {
    static const bool on = std::getenv("VEMORA_FUZZ_TRACE") != nullptr;
    return on;
}

namespace {

void traceText(const char* what, const char* text) {
    if (!tracing()) return;
    if (text == nullptr) std::fprintf(stderr, "  %s -> null text\n", what);
    else std::fprintf(stderr, "  %s -> \"%.40s\"%s\n", what, text, std::strlen(text) > 40 ? "..." : "");
}

// Texts the host may answer besides raw fuzz bytes: placeholders (alone,
// doubled, nested), names that end in "a" or "A", code page 1250 letters,
// and one long enough to make every builder grow.
const std::string& sampleText(unsigned which) {
    static const std::string samples[] = {
        "@display", "@nick@nick", "@age@age", "@name @surname", "@surname@name", "Anna", "ANNA", "Jan", "a", "@",
        "\xa3\xf3\x64\xbc", std::string(3000, '@') + "nick", "@display@nick@name@surname@age",
    };
    return samples[which % (sizeof samples / sizeof samples[0])];
}

// The host's packed birth date: year in bits 31-16, month in 15-8, day in 7-0.
int32_t packedDate(uint32_t year, uint32_t month, uint32_t day) {
    return static_cast<int32_t>(year << 16 | month << 8 | day);
}

}  // namespace

FuzzHost::FuzzHost(FuzzInput& input, int32_t todayMonth, int32_t todayDay)
    : scenario_(input.scenario()), answers_(input.answers()), todayMonth_(todayMonth), todayDay_(todayDay) {
}

void FuzzHost::beginMessage() {
    scene_ = MessageScenario{};
    switch (scenario_.pick(5)) {
        case 0: scene_.count = scenario_.byte() % 16; break;
        case 1: scene_.count = 250 + scenario_.byte() % (MAX_CONTACTS - 249); break;  // more than the list holds
        case 2: scene_.count = scenario_.pick(2) == 0 ? -1 - scenario_.byte() % 4 : INT_MIN; break;
        case 3: scene_.count = scenario_.byte(); break;
        default: scene_.countMode = MessageScenario::Count::ReadEachTime; break;
    }
    switch (scenario_.pick(4)) {
        case 0: scene_.birthdays = MessageScenario::Birthdays::Nobody; break;
        case 1: scene_.birthdays = MessageScenario::Birthdays::Everybody; break;
        case 2:
            scene_.birthdays = MessageScenario::Birthdays::EveryKth;
            scene_.every = 1 + scenario_.byte() % 7;
            break;
        default: scene_.birthdays = MessageScenario::Birthdays::ReadEachTime; break;
    }
    scene_.otherAnswer = scenario_.pick(2) == 0 ? 0 : scenario_.word();
    reentriesLeft_ = MAX_REENTRIES_PER_RECORD;
}

void FuzzHost::endMessage() { texts_.expireAll(); }

void FuzzHost::maybeReenter(uint32_t id) {
    const bool pumpsMessages = id == wire::REQ_INFO_BOX || id == wire::NOTIFY_SHOW || id == wire::REQ_MESSAGE_NEW ||
                               id == wire::REQ_CONTACT_COUNT;
    if (!pumpsMessages || !reentry_ || reentryDepth_ >= MAX_REENTRY_DEPTH || reentriesLeft_ == 0) return;
    if (answers_.pick(8) != 0) return;
    --reentriesLeft_;
    ++reentryDepth_;
    reentry_();
    --reentryDepth_;
}

int32_t FuzzHost::contactCount() {
    if (scene_.countMode == MessageScenario::Count::Fixed) return scene_.count;
    // Changes during the walk: the next answer may shrink, grow or go negative.
    return static_cast<int32_t>(answers_.byte() % (MAX_CONTACTS + 10)) - 10;
}

int32_t FuzzHost::birthDate(int32_t row) {
    // Birth years around today's, the current year itself (age 0), year 0 and
    // a year in the future (a negative age).
    const uint32_t year = static_cast<uint32_t>(row % 7 == 0 ? 0 : row % 11 == 0 ? 65535 : 1900 + row % 200);
    const int32_t today = packedDate(year, static_cast<uint32_t>(todayMonth_), static_cast<uint32_t>(todayDay_));
    switch (scene_.birthdays) {
        case MessageScenario::Birthdays::Nobody: return 0;
        case MessageScenario::Birthdays::Everybody: return today;
        case MessageScenario::Birthdays::EveryKth: return row % scene_.every == 0 ? today : packedDate(year, 1, 1);
        case MessageScenario::Birthdays::ReadEachTime: break;
    }
    switch (answers_.pick(4)) {
        case 0: return today;
        case 1:
            return packedDate(answers_.half(), static_cast<uint32_t>(todayMonth_), static_cast<uint32_t>(todayDay_));
        case 2: return packedDate(2000, 2, 29);
        default: return static_cast<int32_t>(answers_.word());
    }
}

int32_t FuzzHost::anyInt() {
    switch (answers_.pick(8)) {
        case 0: return 0;
        case 1: return 1;
        case 2: return 2;
        case 3: return 3;
        case 4: return -1;
        case 5: return INT_MIN;
        case 6: return INT_MAX;
        default: return static_cast<int32_t>(answers_.word());
    }
}

std::optional<std::string> FuzzHost::chooseText() {
    switch (answers_.pick(8)) {
        case 0: return std::nullopt;
        case 1: return "";
        case 2: return "0";
        case 3: return "1";
        case 4: return "2";
        case 5: return sampleText(answers_.byte());
        default: return answers_.bytes(255);
    }
}

void FuzzHost::fillBuffer(char* buffer, uint32_t bufferSize) {
    const std::string value = chooseText().value_or("");
    const size_t length = std::min<size_t>(value.size(), bufferSize - 1);
    std::memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
}

uint32_t FuzzHost::onOperation(wire::OperationCall& call) {
    texts_.begin();
    const uint32_t result = answer(call);
    texts_.end(call);
    return result;
}

uint32_t FuzzHost::answer(wire::OperationCall& call) {
    using Kind = wire::OperationCall::Kind;
    switch (call.kind) {
        case Kind::GetPluginModule:
            return scene_.otherAnswer;
        case Kind::SetError:
            return 0;
        case Kind::SendMessage: {
            const wire::Request& request = call.request;
            if (!request.faults.empty()) fail("request %u: %s", request.id, request.faults.front().c_str());
            // The record and its texts are read; what the plugin does next is up to it.
            maybeReenter(request.id);
            const uint32_t result = answerTo(request);
            if (tracing() && request.id != wire::REQ_ACTION_GET_VALUE)
                std::fprintf(stderr, "  request %u -> %u\n", request.id, result);
            return result;
        }
        case Kind::GetValue:
            // The plugin ignores the result; a constant keeps the input's bytes for answers that count.
            onGetValue(call.table, call.row, call.column, call.value);
            return 1;
        case Kind::SetValue:
            if (call.value->type != wire::VALUE_INT) fail("cell write of type %u", call.value->type);
            return scene_.otherAnswer;
    }
    return 0;
}

uint32_t FuzzHost::answerTo(const wire::Request& request) {
    switch (request.id) {
        case wire::REQ_INFO_BOX:
            return scene_.otherAnswer;
        case wire::REQ_CONTACT_COUNT:
            return static_cast<uint32_t>(contactCount());
        case wire::REQ_MESSAGE_NEW:
            return answers_.pick(3) == 0 ? 0 : answers_.word();  // 0: the host took no message
        case wire::REQ_ACTION_GET_VALUE: {
            // The caller may name a buffer of its own; otherwise the answer is the host's own text.
            const auto asked = request.p1Record->as<wire::UiActionRecord>();
            if (asked.text != 0 && asked.textSize != 0 && asked.textSize != wire::TEXT_READ_TEMPLATE) {
                fillBuffer(static_cast<char*>(const_cast<void*>(wire::addressOf(asked.text))), asked.textSize);
                return asked.text;
            }
            const std::optional<std::string> value = chooseText();
            const char* answer = value ? texts_.answerValue(*value) : nullptr;
            traceText("value request", answer);
            return wire::wordOf(answer);
        }
        default:
            return scene_.otherAnswer;
    }
}

void FuzzHost::onGetValue(uint32_t table, int32_t row, uint32_t column, wire::ValueRecord* value) {
    const auto given = wire::readRecord<wire::ValueRecord>(value);
    if (given.type == wire::VALUE_INT) {
        const bool birthDateCell = table == wire::CONTACT_TABLE && column == wire::CNT_BIRTH_DATE;
        if (birthDateCell) {
            value->value = static_cast<uint32_t>(birthDate(row));
        } else if (answers_.pick(8) != 0) {  // else left unanswered: the zeroed record stands
            value->value = static_cast<uint32_t>(anyInt());
        }
        if (tracing() && !birthDateCell)
            std::fprintf(stderr, "  read %u/%d/%u -> %d\n", table, row, column, static_cast<int32_t>(value->value));
    } else if (given.type == wire::VALUE_TEXT) {
        char* buffer = static_cast<char*>(const_cast<void*>(wire::addressOf(given.value)));
        if (buffer != nullptr && given.extra != 0 && given.extra != wire::TEXT_READ_TEMPLATE) {
            fillBuffer(buffer, given.extra);
        } else {
            const std::optional<std::string> text = chooseText();
            const char* answer = text ? texts_.answerCell(table, column, *text) : nullptr;
            if (tracing()) {
                char what[48];
                std::snprintf(what, sizeof what, "read %u/%d/%u", table, row, column);
                traceText(what, answer);
            }
            value->value = wire::wordOf(answer);
        }
    } else {
        fail("cell read of type %u", given.type);
    }
}

}  // namespace vemora::fuzz
