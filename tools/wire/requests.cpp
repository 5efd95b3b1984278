#include "wire/requests.h"

#include <cstring>

namespace vemora::wire {

namespace {

using enum Show;

constexpr Field HEADER_FIELDS[] = {
    {"size", 0, 2, Number}, {"id", 2, 4, Id},    {"reserved1", 6, 4, Number},
    {"net", 10, 4, Number}, {"type", 14, 4, Number}, {"reserved2", 18, 4, Number},
};

constexpr Field MESSAGE_FIELDS[] = {
    {"size", 0, 2, Number}, {"id", 2, 4, Id},    {"reserved1", 6, 4, Number}, {"net", 10, 4, Number},
    {"type", 14, 4, Number}, {"reserved2", 18, 4, Number}, {"p1", 22, 4, Hex}, {"p2", 26, 4, Hex},
};

constexpr Field COLUMN_FIELDS[] = {
    {"size", 0, 2, Number},      {"id", 2, 4, Id},           {"reserved1", 6, 4, Number}, {"net", 10, 4, Number},
    {"type", 14, 4, Number},     {"reserved2", 18, 4, Number}, {"table", 22, 1, Number}, {"column", 23, 4, Number},
    {"valueType", 27, 4, Number}, {"default", 31, 4, Number}, {"name", 35, 4, Number},
};

constexpr Field POPUP_FIELDS[] = {
    {"size", 0, 2, Number},   {"id", 2, 4, Id},          {"reserved1", 6, 4, Number}, {"net", 10, 4, Number},
    {"type", 14, 4, Number},  {"reserved2", 18, 4, Number}, {"half22", 22, 2, Number}, {"text", 24, 4, Hex},
    {"byte28", 28, 1, Hex},   {"timeout", 29, 1, Number}, {"byte30", 30, 1, Number},   {"byte31", 31, 1, Number},
    {"icon", 32, 4, Number},  {"action", 36, 12, Action}, {"word48", 48, 4, Number},
};

constexpr Field UI_ACTION_FIELDS[] = {
    {"size", 0, 2, Number},     {"action", 2, 12, Action},  {"word14", 14, 4, Number},  {"word18", 18, 4, Number},
    {"word22", 22, 4, Number},  {"word26", 26, 4, Number},  {"fieldMask", 30, 4, Hex},  {"status", 34, 4, Hex},
    {"statusMask", 38, 4, Hex}, {"word42", 42, 4, Number},  {"word46", 46, 4, Number},  {"text", 50, 4, Hex},
    {"textSize", 54, 4, Number}, {"word58", 58, 4, Number}, {"param", 62, 4, Number},   {"word66", 66, 4, Number},
    {"half70", 70, 2, Number},  {"half72", 72, 2, Number},  {"half74", 74, 2, Number},  {"half76", 76, 2, Number},
};

constexpr Field ICON_FIELDS[] = {
    {"size", 0, 2, Number},     {"half2", 2, 2, Number},   {"iconId", 4, 4, Number}, {"type", 8, 4, Number},
    {"handle", 12, 4, Number},  {"options", 16, 4, Number}, {"module", 20, 4, Hex},  {"resource", 24, 4, Number},
    {"word28", 28, 4, Number},  {"word32", 32, 4, Number},
};

constexpr Field ACTION_NOTIFY_FIELDS[] = {
    {"size", 0, 2, Number}, {"action", 2, 12, Action}, {"code", 14, 4, Number},
};

constexpr Field CHAT_FIELDS[] = {
    {"size", 0, 2, Number},          {"reservedA", 2, 4, Number}, {"net", 6, 4, Number},
    {"type", 10, 4, Number},         {"reservedTextA", 14, 4, Hex}, {"recipient", 18, 4, Hex},
    {"body", 22, 4, Hex},            {"reservedTextB", 26, 4, Hex}, {"flags", 30, 4, Number},
    {"action", 34, 12, Action},      {"reservedB", 46, 4, Number}, {"reservedC", 50, 4, Number},
    {"reservedD", 54, 4, Number},
};

constexpr Field VALUE_FIELDS[] = {
    {"type", 0, 2, Number}, {"value", 2, 4, Number}, {"extra", 6, 4, Number},
};

constexpr Layout MESSAGE_RECORD_LAYOUT{"MessageRecord", 30, 30, MESSAGE_FIELDS};
constexpr Layout MESSAGE_HEADER_LAYOUT{"MessageHeader", 22, 22, HEADER_FIELDS};
constexpr Layout COLUMN_REGISTER_LAYOUT{"ColumnRegisterRecord", 39, 39, COLUMN_FIELDS};
constexpr Layout NOTIFY_POPUP_LAYOUT{"NotifyPopupRecord", 52, 52, POPUP_FIELDS};
constexpr Layout UI_ACTION_LAYOUT{"UiActionRecord", UI_ACTION_SIZE, UI_ACTION_EXTENDED_SIZE, UI_ACTION_FIELDS};
constexpr Layout ICON_REGISTER_LAYOUT{"IconRegisterRecord", 36, 36, ICON_FIELDS};
constexpr Layout ACTION_NOTIFY_LAYOUT{"ActionNotifyRecord", 18, 18, ACTION_NOTIFY_FIELDS};
constexpr Layout CHAT_MESSAGE_LAYOUT{"ChatMessage", 58, 58, CHAT_FIELDS};

constexpr TextField CHAT_TEXTS[] = {{14, false, 0}, {18, false, 0}, {22, false, 0}, {26, false, 0}};
constexpr TextField ELEMENT_TEXT[] = {{50, true, 0}};
constexpr TextField P1_TEXT[] = {{22, false, 0}};
constexpr TextField POPUP_TEXT[] = {{24, false, 0}};
constexpr TextField COLUMN_DEFAULT_TEXT[] = {{31, false, 27}};

const Layout* const MESSAGE = &MESSAGE_RECORD_LAYOUT;

const Carriage CARRIAGES[] = {
    // id, net, name, record, p1's record, p1 a text, texts, answers a text
    {MSG_INIT, HOST_NET, "MSG_INIT", MESSAGE, nullptr, false, {}, false},
    {MSG_DEINIT, HOST_NET, "MSG_DEINIT", MESSAGE, nullptr, false, {}, false},
    {MSG_QUERY_20020, HOST_NET, "MSG_QUERY_20020", MESSAGE, nullptr, false, {}, false},
    {MSG_SETCOLUMNS, HOST_NET, "MSG_SETCOLUMNS", MESSAGE, nullptr, false, {}, false},
    {MSG_UI_PREPARE, HOST_NET, "MSG_UI_PREPARE", MESSAGE, nullptr, false, {}, false},
    {MSG_START, HOST_NET, "MSG_START", MESSAGE, nullptr, false, {}, false},
    {MSG_UI_ACTION, HOST_NET, "MSG_UI_ACTION", MESSAGE, &ACTION_NOTIFY_LAYOUT, false, {}, false},
    {MSG_INFO_NET, HOST_NET, "MSG_INFO_NET", MESSAGE, nullptr, false, {}, false},
    {MSG_INFO_TYPE, HOST_NET, "MSG_INFO_TYPE", MESSAGE, nullptr, false, {}, false},
    {MSG_INFO_VERSION, HOST_NET, "MSG_INFO_VERSION", MESSAGE, nullptr, false, {}, true},
    {MSG_INFO_SIGNATURE, HOST_NET, "MSG_INFO_SIGNATURE", MESSAGE, nullptr, false, {}, true},
    {MSG_INFO_NAME, HOST_NET, "MSG_INFO_NAME", MESSAGE, nullptr, false, {}, true},
    {MSG_INFO_30017, HOST_NET, "MSG_INFO_30017", MESSAGE, nullptr, false, {}, false},

    {REQ_MESSAGE_NEW, HOST_NET, "REQ_MESSAGE_NEW", MESSAGE, &CHAT_MESSAGE_LAYOUT, false, CHAT_TEXTS, false},
    {REQ_MESSAGE_QUEUE, HOST_NET, "REQ_MESSAGE_QUEUE", MESSAGE, &MESSAGE_RECORD_LAYOUT, false, {}, false},
    {REQ_CONTACT_COUNT, HOST_NET, "REQ_CONTACT_COUNT", MESSAGE, nullptr, false, {}, false},
    {REQ_COLUMN_REGISTER, HOST_NET, "REQ_COLUMN_REGISTER", &COLUMN_REGISTER_LAYOUT, nullptr, false,
     COLUMN_DEFAULT_TEXT, false},
    {REQ_ACTION_ADD, HOST_NET, "REQ_ACTION_ADD", MESSAGE, &UI_ACTION_LAYOUT, false, ELEMENT_TEXT, false},
    {REQ_ACTION_GET_VALUE, HOST_NET, "REQ_ACTION_GET_VALUE", MESSAGE, &UI_ACTION_LAYOUT, false, {}, true},
    {REQ_ACTION_SET_STATUS, HOST_NET, "REQ_ACTION_SET_STATUS", MESSAGE, &UI_ACTION_LAYOUT, false, {}, false},
    {REQ_BUTTON_GROUP, HOST_NET, "REQ_BUTTON_GROUP", MESSAGE, nullptr, false, {}, false},
    {REQ_ICON_REGISTER, HOST_NET, "REQ_ICON_REGISTER", MESSAGE, &ICON_REGISTER_LAYOUT, false, {}, false},
    {REQ_INFO_BOX, HOST_NET, "REQ_INFO_BOX", MESSAGE, nullptr, true, P1_TEXT, false},
    {NOTIFY_SHOW, NOTIFIER_NET, "NOTIFY_SHOW", &NOTIFY_POPUP_LAYOUT, nullptr, false, POPUP_TEXT, false},
};

const char* fieldName(const Layout& layout, uint16_t offset) {
    for (const Field& field : layout.fields)
        if (field.offset == offset) return field.name;
    return "?";
}

// Reads a record that opens with its own size word: as many bytes as it
// declares, but never more than its layout's longest form.
DecodedRecord readSized(const void* address, const Layout& layout) {
    DecodedRecord record;
    record.layout = &layout;
    record.declaredSize = readRecord<uint16_t>(address);
    const size_t length = record.declaredSize < layout.maxSize ? record.declaredSize : layout.maxSize;
    const auto* bytes = static_cast<const uint8_t*>(address);
    record.bytes.assign(bytes, bytes + length);
    return record;
}

std::optional<std::string> textAt(uint32_t address) {
    if (address == 0) return std::nullopt;
    return std::string(static_cast<const char*>(addressOf(address)));
}

void readTexts(DecodedRecord& record, std::span<const TextField> fields, const std::string& what,
               std::vector<std::string>& faults) {
    for (const TextField& field : fields) {
        if (field.offset + 4u > record.bytes.size()) continue;
        if (field.textIfTypeAt != 0 && record.word(field.textIfTypeAt) != VALUE_TEXT) continue;
        std::optional<std::string> text = textAt(record.word(field.offset));
        if (!text && !field.mayBeNull) {
            faults.push_back(what + ": " + record.layout->name + " " + fieldName(*record.layout, field.offset) +
                             " is a null pointer");
        }
        record.texts[field.offset] = std::move(text);
    }
}

void checkSize(const DecodedRecord& record, const std::string& what, std::vector<std::string>& faults) {
    const Layout& layout = *record.layout;
    if (record.declaredSize == layout.size || record.declaredSize == layout.maxSize) return;
    std::string sizes = std::to_string(layout.size);
    if (layout.maxSize != layout.size) sizes += " or " + std::to_string(layout.maxSize);
    faults.push_back(what + ": a " + layout.name + " of " + std::to_string(record.declaredSize) + " bytes instead of " +
                     sizes);
}

}  // namespace

const Layout VALUE_RECORD_LAYOUT{"ValueRecord", 10, 10, VALUE_FIELDS};

const Carriage* carriageOf(uint32_t id, uint32_t net) {
    for (const Carriage& carriage : CARRIAGES)
        if (carriage.id == id && carriage.net == net) return &carriage;
    return nullptr;
}

std::string messageName(uint32_t id, uint32_t net) {
    const Carriage* carriage = carriageOf(id, net);
    return carriage != nullptr ? carriage->name : "";
}

uint32_t DecodedRecord::word(size_t offset) const {
    uint32_t value = 0;
    if (offset + sizeof value <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

std::string DecodedRecord::text(uint16_t offset) const {
    auto it = texts.find(offset);
    return it != texts.end() && it->second ? *it->second : std::string();
}

std::string Request::name() const { return carriage != nullptr ? carriage->name : std::to_string(id); }

Request decodeRequest(const void* address) {
    Request request;
    if (address == nullptr) {
        request.faults.push_back("a null record");
        return request;
    }
    const uint16_t size = readRecord<uint16_t>(address);
    if (size < sizeof(MessageHeader)) {
        request.record = readSized(address, MESSAGE_HEADER_LAYOUT);
        request.faults.push_back("a record of " + std::to_string(size) + " bytes, shorter than a header");
        return request;
    }
    const auto header = readRecord<MessageHeader>(address);
    request.id = header.id;
    request.net = header.net;
    request.carriage = carriageOf(header.id, header.net);
    const bool hasParameters = size >= sizeof(MessageRecord);
    const Layout* layout = request.carriage != nullptr ? request.carriage->record : &MESSAGE_RECORD_LAYOUT;
    if (layout == &MESSAGE_RECORD_LAYOUT && !hasParameters) layout = &MESSAGE_HEADER_LAYOUT;
    request.record = readSized(address, *layout);
    if (request.carriage == nullptr) return request;

    const std::string what = request.name();
    const Carriage& carriage = *request.carriage;
    const bool needsP1 = carriage.p1Record != nullptr || carriage.p1IsText;
    if (carriage.record != &MESSAGE_RECORD_LAYOUT) {
        checkSize(request.record, what, request.faults);
    } else if (!hasParameters) {
        if (needsP1) request.faults.push_back(what + " in " + std::to_string(size) + " bytes carries no parameters");
        return request;
    }
    request.p1 = request.record.word(offsetof(MessageRecord, p1));
    if (carriage.p1IsText || carriage.p1Record == nullptr) {
        readTexts(request.record, carriage.texts, what, request.faults);
        return request;
    }
    if (request.p1 == 0) {
        request.faults.push_back(what + " without its " + carriage.p1Record->name);
        return request;
    }
    request.p1Record = readSized(addressOf(request.p1), *carriage.p1Record);
    checkSize(*request.p1Record, what, request.faults);
    readTexts(*request.p1Record, carriage.texts, what, request.faults);
    return request;
}

}  // namespace vemora::wire
