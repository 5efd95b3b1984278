// What each message and request carries, as one table, and the one decoder
// that reads a record by it: the record itself, the record or text its p1
// points to, and every text its fields point to, copied at the moment of the
// call (the plugin's records and texts live only for the call). The hosts we
// write (the stand-in, its trace, the tests' recording host, the fuzz host)
// all see the plugin's requests through this decoder.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "wire/records.h"

namespace vemora::wire {

// How a field is shown: a signed number, a hexadecimal word, a message id
// (the number and its name), or an ActionRef's three numbers.
enum class Show : uint8_t { Number, Hex, Id, Action };

struct Field {
    const char* name;
    uint16_t offset;
    uint8_t width;  // 1, 2 or 4; 12 for an ActionRef
    Show show;
};

struct Layout {
    const char* name;
    uint16_t size;     // the shortest record of this kind
    uint16_t maxSize;  // the longest (a longer form's extra fields come last)
    std::span<const Field> fields;
};

extern const Layout VALUE_RECORD_LAYOUT;

// A field that holds the address of a text.
struct TextField {
    uint16_t offset;
    bool mayBeNull;          // a null address is part of the protocol here (a separator has no text)
    uint16_t textIfTypeAt;   // 0: always a text; else only when the word at this offset is VALUE_TEXT
};

// One message to IMessageProc or one request to sendMessage.
struct Carriage {
    uint32_t id;
    uint32_t net;                // HOST_NET, or NOTIFIER_NET for the notifier's message
    const char* name;            // "REQ_MESSAGE_NEW"
    const Layout* record;        // what is handed over: a MessageRecord or a record of its own
    const Layout* p1Record;      // the record p1 points to, or null
    bool p1IsText;               // p1 is the address of a text
    std::span<const TextField> texts;  // in p1's record when there is one, else in the record
    bool answersText;            // the answer is the address of a text
};

// The carriage of a message or request, or null for one the protocol does not know.
const Carriage* carriageOf(uint32_t id, uint32_t net);
// Its name, or "" for an unknown one.
std::string messageName(uint32_t id, uint32_t net);

// A record as it was read.
struct DecodedRecord {
    const Layout* layout = nullptr;
    uint16_t declaredSize = 0;     // its own size word
    std::vector<uint8_t> bytes;    // as many as it declares, at most its layout's longest form
    // The texts its fields point to, by the field's offset; nullopt for a null address.
    std::map<uint16_t, std::optional<std::string>> texts;

    bool complete() const { return layout != nullptr && bytes.size() >= layout->size; }
    template <class Record>
    Record as() const {
        return readRecord<Record>(bytes.data(), bytes.size());
    }
    uint32_t word(size_t offset) const;
    // The text at that offset: the empty text for a null address or none.
    std::string text(uint16_t offset) const;
};

// One record handed across, decoded by its carriage.
struct Request {
    const Carriage* carriage = nullptr;  // null: an id the protocol does not know
    uint32_t id = 0;
    uint32_t net = 0;
    DecodedRecord record;
    uint32_t p1 = 0;                    // 0 also when the record is too short to carry it
    std::optional<DecodedRecord> p1Record;  // what p1 points to, when the carriage says and p1 is not 0
    // Where the request breaks the protocol, one line each: a size other than
    // its kind's, a record or text missing, a null text.
    std::vector<std::string> faults;

    // The carriage's name, or the id in decimal.
    std::string name() const;
};

// Reads the record at `address` (it opens with a MessageHeader), what its p1
// points to and every text, by the table. The addresses must be readable as
// far as the record's own sizes say, up to its layout's longest form.
Request decodeRequest(const void* address);

}  // namespace vemora::wire
