// Fuzz target for the plugin's entry: the input chooses a sequence of incoming
// records (ids, sizes, p1 values, action records, the addresses they sit at)
// and every answer of the host (see fuzz_host.h). Each run starts from the
// plugin's state at load.
//
// The host also calls in again from inside the requests a real host answers
// only after pumping window messages (see FuzzHost::setReentry), with a
// button's refresh or press or a start, as the input's answers choose.
//
// What it checks, besides what the sanitizers see (reads and writes out of
// bounds, use of freed host texts, undefined behaviour):
// - today's list never holds more than 254 rows, stays ended by 0 inside its
//   255 slots, lists rows in ascending order and never overwrites its date;
// - the identity answers stay what they are, whatever came before.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "birthday/birthday_list.h"
#include "birthday/today.h"
#include "entry/dispatch.h"
#include "fuzz_host.h"
#include "fuzz_input.h"
#include "vemora_version.h"
#include "wire/records.h"

namespace vemora::fuzz {
namespace {

// Enough messages for every order of start-up, use and shutdown, few enough
// that one run stays fast.
constexpr int MAX_MESSAGES_PER_RUN = 32;

// Dates that matter to a birthday list: an ordinary one, 29 February, the
// turn of the year.
constexpr CalendarDate TODAY_CHOICES[] = {{2026, 3, 9}, {2028, 2, 29}, {2026, 12, 31}, {2027, 1, 1}};
CalendarDate pinnedToday{};
CalendarDate pinned() { return pinnedToday; }

// The messages the plugin knows (MSG_UI_ACTION more often) and two neighbours it does not.
constexpr uint32_t KNOWN_IDS[] = {
    wire::MSG_INIT,         wire::MSG_DEINIT,         wire::MSG_QUERY_20020, wire::MSG_SETCOLUMNS,
    wire::MSG_UI_PREPARE,   wire::MSG_START,          wire::MSG_UI_ACTION,   wire::MSG_UI_ACTION,
    wire::MSG_UI_ACTION,    wire::MSG_INFO_NET,       wire::MSG_INFO_TYPE,   wire::MSG_INFO_VERSION,
    wire::MSG_INFO_SIGNATURE, wire::MSG_INFO_NAME,    wire::MSG_INFO_30017,  30014,
    30015,
};

// The plugin's own action ids and a few neighbours; the radio list, the two
// buttons and the own-template field are the ones with handlers.
constexpr int32_t ACTION_IDS[] = {
    wire::ACT_SEND_WISHES_BUTTON, wire::ACT_CONTACT_WISH_MODE, wire::ACT_BIRTHDAYS_BUTTON, wire::ACT_CONTACT_WISH_TEXT,
    wire::ACT_CONTACT_GROUP,      wire::ACT_SETTINGS_GROUP,    0,                         -1,
};

uint32_t chooseId(FuzzInput::Stream& input) {
    const unsigned choice = input.pick(sizeof KNOWN_IDS / sizeof KNOWN_IDS[0] + 1);
    return choice < sizeof KNOWN_IDS / sizeof KNOWN_IDS[0] ? KNOWN_IDS[choice] : input.word();
}

uint16_t chooseSize(FuzzInput::Stream& input) {
    switch (input.pick(8)) {
        case 0: return 22;
        case 1: return 29;
        case 2: return 31;
        case 3: return 64;
        case 4: return static_cast<uint16_t>(input.byte() % 40);
        case 5: return input.half();
        default: return 30;
    }
}

// The record an action notification points to. Only its first 18 bytes are
// the plugin's to read, so the buffer is exactly that long.
std::vector<uint8_t> actionRecord(FuzzInput::Stream& input) {
    wire::ActionNotifyRecord record{};
    record.action.id = input.pick(5) == 0 ? static_cast<int32_t>(input.word())
                                          : ACTION_IDS[input.pick(sizeof ACTION_IDS / sizeof ACTION_IDS[0])];
    record.action.parent = static_cast<int32_t>(input.word());
    record.action.contact = wire::NO_CONTACT;
    if (input.pick(2) == 0) {
        record.action.contact =
            input.pick(2) == 0 ? static_cast<int32_t>(input.byte()) : static_cast<int32_t>(input.word());
    }
    switch (input.pick(4)) {
        case 0: record.code = wire::ACTION_PRESSED; break;
        case 1: record.code = wire::ACTION_REFRESH; break;
        case 2: record.code = 0; break;
        default: record.code = input.word(); break;
    }
    record.size = input.pick(2) == 0 ? uint16_t{sizeof record} : input.half();  // the host's own size, never relied on
    std::vector<uint8_t> bytes(sizeof record);
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

// Bytes the host hands over, at the end of their buffer (so that a read past
// them is caught) and `offset` bytes after its start: the host's records may
// sit at any address, odd ones included.
struct Placed {
    std::vector<uint8_t> buffer;
    size_t offset = 0;

    void place(const std::vector<uint8_t>& bytes, size_t at) {
        offset = at;
        buffer.assign(at, 0xA5);
        buffer.insert(buffer.end(), bytes.begin(), bytes.end());
    }
    // The record as long as its size says, but at least the six bytes of
    // size and id, which are always read.
    void placeMessage(const wire::MessageRecord& full, size_t at) {
        std::vector<uint8_t> bytes(std::max<size_t>(full.header.size, 6), 0);
        std::memcpy(bytes.data(), &full, std::min(bytes.size(), sizeof full));
        place(bytes, at);
    }
    const uint8_t* data() const { return buffer.data() + offset; }
    bool empty() const { return buffer.size() == offset; }
};

// One incoming record, and for MSG_UI_ACTION what its p1 points to.
struct Incoming {
    Placed record;
    Placed action;  // what p1 points to, for MSG_UI_ACTION
    bool null = false;
};

// A scenario byte of this value ends the run, leaving the rest to answers.
constexpr uint8_t END_OF_SCENARIO = 0xFF;

// The next record of the scenario, or nothing at its end.
std::optional<Incoming> nextRecord(FuzzInput::Stream& input, FuzzHost& host) {
    if (input.exhausted()) return std::nullopt;
    const uint8_t kind = input.byte();
    if (kind == END_OF_SCENARIO) return std::nullopt;
    Incoming in;
    if (kind % 32 == 0) {
        in.null = true;
        return in;
    }
    // The kind's upper bits choose where the two records sit: never both aligned.
    const size_t recordOffset = (kind >> 5) & 3;
    const size_t actionOffset = (recordOffset + 1) & 3;
    const uint32_t id = chooseId(input);
    const uint16_t size = chooseSize(input);
    uint32_t p1 = input.word();
    if (id == wire::MSG_INIT) {
        p1 = input.pick(6) == 0 ? 0 : wire::wordOf(host.control());
    } else if (id == wire::MSG_UI_ACTION) {
        in.action.place(actionRecord(input), actionOffset);
        if (input.pick(8) == 0) p1 = 0;
        else p1 = wire::wordOf(in.action.data());
    }
    // One read per statement: the order of the reads is the input's format.
    const uint32_t p2 = input.word();
    const uint32_t net = input.word();
    const uint32_t type = input.word();

    in.record.placeMessage({{size, id, 0, net, type, 0}, p1, p2}, recordOffset);
    return in;
}

void checkList() {
    const BirthdayList& list = birthdayList();
    int terminator = -1;
    for (int slot = 0; slot < BIRTHDAY_LIST_SLOTS; ++slot) {
        if (list.rows[slot] == 0) {
            terminator = slot;
            break;
        }
        if (slot > 0 && list.rows[slot] <= list.rows[slot - 1])
            fail("list rows out of order at slot %d: %d after %d", slot, list.rows[slot], list.rows[slot - 1]);
    }
    if (terminator < 0) fail("the list has no terminating 0 in its %d slots", BIRTHDAY_LIST_SLOTS);
    if (terminator > BIRTHDAY_LIST_CAPACITY) fail("the list holds %d rows", terminator);
    const bool neverBuilt = list.year == 0 && list.month == 0 && list.day == 0;
    if (!neverBuilt && (list.year != pinnedToday.year || list.month != pinnedToday.month || list.day != pinnedToday.day))
        fail("the list's date was overwritten: %d-%d-%d", list.year, list.month, list.day);
}

void checkIdentityAnswer(uint32_t id, uint32_t answer) {
    auto text = [answer] { return static_cast<const char*>(wire::addressOf(answer)); };
    switch (id) {
        case wire::MSG_INFO_NET: if (answer != wire::PLUGIN_NET) fail("net answered %u", answer); break;
        case wire::MSG_INFO_TYPE: if (answer != wire::PLUGIN_TYPE) fail("type answered %u", answer); break;
        case wire::MSG_QUERY_20020: if (answer != 2) fail("20020 answered %u", answer); break;
        case wire::MSG_INFO_VERSION:
            if (std::strcmp(text(), VEMORA_VERSION_TEXT) != 0) fail("version answered wrongly");
            break;
        case wire::MSG_INFO_SIGNATURE: if (std::strcmp(text(), "Vem") != 0) fail("signature answered wrongly"); break;
        case wire::MSG_INFO_NAME: if (std::strcmp(text(), "Vemora") != 0) fail("name answered wrongly"); break;
        default: break;
    }
}

// What the trace shows of a record, before the host's requests it causes.
void traceRecord(const Incoming& in) {
    if (in.null) {
        std::fprintf(stderr, "null record\n");
        return;
    }
    uint16_t size = 0;
    uint32_t id = 0;
    std::memcpy(&size, in.record.data(), sizeof size);
    std::memcpy(&id, in.record.data() + 2, sizeof id);
    std::fprintf(stderr, "record id %u size %u", id, size);
    if (!in.action.empty()) {
        int32_t action = 0;
        uint32_t code = 0;
        std::memcpy(&action, in.action.data() + 2, sizeof action);
        std::memcpy(&code, in.action.data() + 14, sizeof code);
        std::fprintf(stderr, " (action %d code %u)", action, code);
    }
    std::fputc('\n', stderr);
}

// A record the host delivers from inside a request, chosen from the host's
// answers: mostly a button's refresh or press, sometimes the start.
Incoming nestedRecord(FuzzInput::Stream& answers) {
    Incoming in;
    const size_t recordOffset = answers.pick(4);
    uint32_t id = wire::MSG_UI_ACTION;
    uint32_t p1 = 0;
    if (answers.pick(4) == 0) {
        id = wire::MSG_START;
    } else {
        in.action.place(actionRecord(answers), (recordOffset + 1) & 3);
        p1 = wire::wordOf(in.action.data());
    }
    in.record.placeMessage({{sizeof(wire::MessageRecord), id, 0, wire::HOST_NET, 0, 0}, p1, 0}, recordOffset);
    return in;
}

// ... and after them: the plugin's answer and the list it left.
void traceAnswer(uint32_t answer) {
    int listed = 0;
    while (listed < BIRTHDAY_LIST_SLOTS && birthdayList().rows[listed] != 0) ++listed;
    std::fprintf(stderr, "  answered %u; %d listed\n", answer, listed);
}

void deliver(const Incoming& in, FuzzHost& host) {
    host.beginMessage();
    if (tracing()) traceRecord(in);
    const uint32_t answer = dispatchMessage(in.null ? nullptr : in.record.data());
    host.endMessage();
    if (tracing()) traceAnswer(answer);
    if (!in.null) {
        uint32_t id = 0;
        std::memcpy(&id, in.record.data() + 2, sizeof id);
        checkIdentityAnswer(id, answer);
    }
    checkList();
}

}  // namespace
}  // namespace vemora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vemora;
    using namespace vemora::fuzz;

    FuzzInput bytes(data, size);
    FuzzInput::Stream& input = bytes.scenario();
    pinnedToday = TODAY_CHOICES[input.pick(sizeof TODAY_CHOICES / sizeof TODAY_CHOICES[0])];
    const TodaySource previousToday = replaceTodaySource(&pinned);
    resetPluginState();
    {
        FuzzHost host(bytes, pinnedToday.month, pinnedToday.day);
        host.setReentry([&bytes] {
            const Incoming nested = nestedRecord(bytes.answers());
            if (tracing()) {
                std::fprintf(stderr, "  called in again: ");
                traceRecord(nested);
            }
            dispatchMessage(nested.record.data());
            checkList();
        });
        for (int n = 0; n < MAX_MESSAGES_PER_RUN; ++n) {
            const std::optional<Incoming> in = nextRecord(input, host);
            if (!in) break;
            deliver(*in, host);
        }
        resetPluginState();  // the plugin must not keep a host that is gone
    }
    replaceTodaySource(previousToday);
    return 0;
}
