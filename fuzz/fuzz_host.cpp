#include "fuzz_host.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "birthday/calendar_date.h"
#include "host/chat_and_popup.h"
#include "host/host_control.h"
#include "host/tables.h"

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

uint32_t wordAt(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// Where the lengths of the texts read go: a result nobody uses would let the
// compiler drop the read itself.
volatile size_t textBytesSeen = 0;

// Reads a zero-terminated text the plugin handed over, byte by byte, as the
// host would; a missing terminator runs into a sanitizer's red zone, a freed
// text is a use after free.
void readText(uint32_t address) {
    textBytesSeen = textBytesSeen + std::strlen(reinterpret_cast<const char*>(static_cast<uintptr_t>(address)));
}

// Copies a record the plugin handed over, as long as it says it is.
std::vector<uint8_t> readRecord(const void* address, const char* what, uint32_t id) {
    if (address == nullptr) fail("request %u: null %s", id, what);
    uint16_t size = 0;
    std::memcpy(&size, address, sizeof size);
    if (size < sizeof size) fail("request %u: %s claims %u bytes", id, what, size);
    const auto* bytes = static_cast<const uint8_t*>(address);
    return std::vector<uint8_t>(bytes, bytes + size);
}

// A text pointer at `offset` of a record: read it when it lies inside the
// record; null is a fault unless `mayBeNull`.
void readTextField(const std::vector<uint8_t>& record, size_t offset, bool mayBeNull, uint32_t id) {
    if (offset + 4 > record.size()) return;
    const uint32_t address = wordAt(record, offset);
    if (address == 0) {
        if (!mayBeNull) fail("request %u: null text pointer at offset %u", id, static_cast<unsigned>(offset));
        return;
    }
    readText(address);
}

struct TextField {
    size_t offset;
    bool mayBeNull;
};

// Where each request keeps its texts. `viaP1`: the texts sit in a record
// whose address is p1; otherwise in the request record itself.
struct RequestShape {
    uint32_t id;
    bool viaP1;
    std::vector<TextField> texts;
};

const RequestShape* shapeOf(uint32_t id) {
    static const RequestShape shapes[] = {
        {REQ_MESSAGE_NEW, true, {{14, false}, {18, false}, {22, false}, {26, false}}},
        {REQ_MESSAGE_QUEUE, true, {}},
        {REQ_ACTION_ADD, true, {{50, true}}},
        {REQ_ACTION_SET_STATUS, true, {}},
        {REQ_ACTION_GET_VALUE, true, {}},
        {REQ_ICON_REGISTER, true, {}},
        {REQ_COLUMN_REGISTER, false, {{31, true}}},
        {NOTIFY_SHOW, false, {{24, false}}},
    };
    for (const auto& shape : shapes)
        if (shape.id == id) return &shape;
    return nullptr;
}

}  // namespace

FuzzHost::FuzzHost(FuzzInput& input, int32_t todayMonth, int32_t todayDay)
    : scenario_(input.scenario()), answers_(input.answers()), todayMonth_(todayMonth), todayDay_(todayDay) {
}

FuzzHost::~FuzzHost() = default;

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
}

void FuzzHost::endMessage() { lastText_.reset(); }

int32_t FuzzHost::contactCount() {
    if (scene_.countMode == MessageScenario::Count::Fixed) return scene_.count;
    // Changes during the walk: the next answer may shrink, grow or go negative.
    return static_cast<int32_t>(answers_.byte() % (MAX_CONTACTS + 10)) - 10;
}

int32_t FuzzHost::birthDate(int32_t row) {
    // Birth years around today's, the current year itself (age 0), year 0 and
    // a year in the future (a negative age).
    const uint32_t year = static_cast<uint32_t>(row % 7 == 0 ? 0 : row % 11 == 0 ? 65535 : 1900 + row % 200);
    const int32_t today = encodeBirthDate(year, static_cast<uint32_t>(todayMonth_), static_cast<uint32_t>(todayDay_));
    switch (scene_.birthdays) {
        case MessageScenario::Birthdays::Nobody: return 0;
        case MessageScenario::Birthdays::Everybody: return today;
        case MessageScenario::Birthdays::EveryKth: return row % scene_.every == 0 ? today : encodeBirthDate(year, 1, 1);
        case MessageScenario::Birthdays::ReadEachTime: break;
    }
    switch (answers_.pick(4)) {
        case 0: return today;
        case 1: return encodeBirthDate(answers_.half(), static_cast<uint32_t>(todayMonth_), static_cast<uint32_t>(todayDay_));
        case 2: return encodeBirthDate(2000, 2, 29);
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

const char* FuzzHost::text() {
    std::string chosen;
    switch (answers_.pick(8)) {
        case 0: lastText_.reset(); return nullptr;
        case 1: chosen = ""; break;
        case 2: chosen = "0"; break;
        case 3: chosen = "1"; break;
        case 4: chosen = "2"; break;
        case 5: chosen = sampleText(answers_.byte()); break;
        default: chosen = answers_.bytes(255); break;
    }
    // The previous text goes now: a plugin that kept it would read freed memory.
    lastText_ = std::make_unique<char[]>(chosen.size() + 1);
    std::memcpy(lastText_.get(), chosen.c_str(), chosen.size() + 1);
    return lastText_.get();
}

void FuzzHost::fillBuffer(char* buffer, uint32_t bufferSize) {
    const char* answer = text();
    const std::string value = answer != nullptr ? answer : "";
    const size_t length = std::min<size_t>(value.size(), bufferSize - 1);
    std::memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
}

void* FuzzHost::hostGetPluginModule() {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(scene_.otherAnswer));
}

void FuzzHost::hostSetError(int32_t) {}

uint32_t FuzzHost::hostSendMessage(MessageHeader* record) {
    return onMessage(record);
}

int32_t FuzzHost::hostGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    onGetValue(table, row, column, value);
    return 1;  // the plugin ignores it; a constant keeps the input's bytes for answers that count
}

int32_t FuzzHost::hostSetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    return onSetValue(table, row, column, value);
}

uint32_t FuzzHost::onMessage(const MessageHeader* header) {
    const std::vector<uint8_t> record = readRecord(header, "record", 0);
    if (record.size() < sizeof(MessageHeader)) fail("a record of %u bytes has no full header", static_cast<unsigned>(record.size()));
    const uint32_t id = wordAt(record, offsetof(MessageHeader, id));
    const uint32_t p1 = record.size() >= sizeof(MessageRecord) ? wordAt(record, offsetof(MessageRecord, p1)) : 0;

    std::vector<uint8_t> payload;
    if (const RequestShape* shape = shapeOf(id)) {
        if (shape->viaP1 && record.size() < sizeof(MessageRecord)) fail("request %u carries no p1", id);
        payload = shape->viaP1 ? readRecord(reinterpret_cast<const void*>(static_cast<uintptr_t>(p1)), "p1 record", id)
                               : record;
        for (const TextField& field : shape->texts) readTextField(payload, field.offset, field.mayBeNull, id);
    }

    const uint32_t answer = answerTo(id, p1, payload);
    if (tracing() && id != REQ_ACTION_GET_VALUE) std::fprintf(stderr, "  request %u -> %u\n", id, answer);
    return answer;
}

uint32_t FuzzHost::answerTo(uint32_t id, uint32_t p1, const std::vector<uint8_t>& payload) {
    switch (id) {
        case REQ_INFO_BOX:
            if (p1 == 0) fail("request %u: null text", id);
            readText(p1);
            return scene_.otherAnswer;
        case REQ_CONTACT_COUNT:
            return static_cast<uint32_t>(contactCount());
        case REQ_MESSAGE_NEW:
            return answers_.pick(3) == 0 ? 0 : answers_.word();  // 0: the host took no message
        case REQ_ACTION_GET_VALUE: {
            // The caller may name a buffer of its own (address at 50, size at
            // 54 of its record); otherwise the answer is the host's own text.
            constexpr size_t BUFFER_AT = 50, SIZE_AT = 54;
            if (payload.size() < SIZE_AT + 4) fail("request %u: value request of %u bytes", id, static_cast<unsigned>(payload.size()));
            const uint32_t buffer = wordAt(payload, BUFFER_AT);
            const uint32_t bufferSize = wordAt(payload, SIZE_AT);
            if (buffer != 0 && bufferSize != 0 && bufferSize != 0xFFFFFFFFu) {
                fillBuffer(reinterpret_cast<char*>(static_cast<uintptr_t>(buffer)), bufferSize);
                return buffer;
            }
            const char* value = text();
            traceText("value request", value);
            return toWord(value);
        }
        default:
            return scene_.otherAnswer;
    }
}

void FuzzHost::onGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    ValueRecord given(VALUE_INT);
    std::memcpy(&given, value, sizeof given);
    if (given.type == VALUE_INT) {
        if (table == CONTACT_TABLE && column == CNT_BIRTH_DATE) {
            value->value = static_cast<uint32_t>(birthDate(row));
        } else if (answers_.pick(8) != 0) {  // else left unanswered: the zeroed record stands
            value->value = static_cast<uint32_t>(anyInt());
        }
        if (tracing() && !(table == CONTACT_TABLE && column == CNT_BIRTH_DATE))
            std::fprintf(stderr, "  read %u/%d/%u -> %d\n", table, row, column, static_cast<int32_t>(value->value));
    } else if (given.type == VALUE_TEXT) {
        char* buffer = reinterpret_cast<char*>(static_cast<uintptr_t>(given.value));
        if (buffer != nullptr && given.extra != 0 && given.extra != 0xFFFFFFFFu) {
            fillBuffer(buffer, given.extra);
        } else {
            const char* answer = text();
            if (tracing()) {
                char what[48];
                std::snprintf(what, sizeof what, "read %u/%d/%u", table, row, column);
                traceText(what, answer);
            }
            value->value = toWord(answer);
        }
    } else {
        fail("cell read of type %u", given.type);
    }
}

int32_t FuzzHost::onSetValue(uint32_t, int32_t, uint32_t, const ValueRecord* value) {
    ValueRecord given(VALUE_INT);
    std::memcpy(&given, value, sizeof given);
    if (given.type != VALUE_INT) fail("cell write of type %u", given.type);
    return static_cast<int32_t>(scene_.otherAnswer);
}

}  // namespace vemora::fuzz
