#include "fake_host.h"

namespace vemora::testing {

namespace {

std::optional<std::string> textFrom(uint32_t address) {
    if (address == 0) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(static_cast<uintptr_t>(address)));
}

// Where a ValueRecord keeps its three fields.
constexpr size_t VALUE_TYPE_AT = 0;
constexpr size_t VALUE_WORD_AT = 2;
constexpr size_t VALUE_EXTRA_AT = 6;

void setValueWord(ValueRecord* record, uint32_t word) {
    std::memcpy(reinterpret_cast<uint8_t*>(record) + VALUE_WORD_AT, &word, sizeof word);
}

uint32_t wordAt(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// Requests whose p1 is the address of a record that opens with its own size,
// and where that record holds text pointers.
struct PayloadShape {
    uint32_t id;
    std::vector<size_t> textOffsets;
};
const std::vector<PayloadShape>& payloadShapes() {
    static const std::vector<PayloadShape> shapes = {
        {wire::REQ_MESSAGE_NEW, {14, 18, 22, 26}},
        {wire::REQ_MESSAGE_QUEUE, {}},
        {wire::REQ_ACTION_ADD, {50}},
        {wire::REQ_ACTION_SET_STATUS, {}},
        {wire::REQ_ACTION_GET_VALUE, {}},
        {wire::REQ_ICON_REGISTER, {}},
    };
    return shapes;
}

}  // namespace

std::optional<std::string> HostCall::find(const std::map<size_t, std::optional<std::string>>& texts,
                                          size_t offset) {
    auto it = texts.find(offset);
    return it == texts.end() ? std::nullopt : it->second;
}

CellValue CellValue::of(const ValueRecord* record) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(record);
    CellValue cell;
    std::memcpy(&cell.type, bytes + VALUE_TYPE_AT, sizeof cell.type);
    std::memcpy(&cell.value, bytes + VALUE_WORD_AT, sizeof cell.value);
    std::memcpy(&cell.extra, bytes + VALUE_EXTRA_AT, sizeof cell.extra);
    return cell;
}

FakeHost::FakeHost() = default;

std::vector<HostCall> FakeHost::messages(uint32_t id) const {
    std::vector<HostCall> found;
    for (const auto& call : calls_)
        if (call.isMessage(id)) found.push_back(call);
    return found;
}

std::vector<HostCall> FakeHost::messages() const { return ofKind(HostCall::Kind::SendMessage); }

std::vector<HostCall> FakeHost::ofKind(HostCall::Kind kind) const {
    std::vector<HostCall> found;
    for (const auto& call : calls_)
        if (call.kind == kind) found.push_back(call);
    return found;
}

void FakeHost::setInt(uint8_t table, int32_t row, uint32_t column, int32_t value) {
    cells_[{table, row, column}].number = value;
}

void FakeHost::setText(uint8_t table, int32_t row, uint32_t column, const std::string& text) {
    cells_[{table, row, column}].text = text;
}

void FakeHost::setNullText(uint8_t table, int32_t row, uint32_t column) {
    cells_[{table, row, column}].nullText = true;
}

std::optional<int32_t> FakeHost::intAt(uint8_t table, int32_t row, uint32_t column) const {
    auto it = cells_.find({table, row, column});
    return it == cells_.end() ? std::nullopt : it->second.number;
}

const char* FakeHost::keep(std::string text) {
    answeredTexts_.push_back(std::move(text));
    return answeredTexts_.back().c_str();
}

void* FakeHost::hostGetPluginModule() {
    HostCall call;
    call.kind = HostCall::Kind::GetPluginModule;
    call.answer = pluginModule;
    calls_.push_back(call);
    return reinterpret_cast<void*>(static_cast<uintptr_t>(pluginModule));
}

void FakeHost::hostSetError(int32_t code) {
    HostCall call;
    call.kind = HostCall::Kind::SetError;
    call.errorCode = code;
    calls_.push_back(call);
}

uint32_t FakeHost::hostSendMessage(MessageHeader* record) {
    return onMessage(record);
}

int32_t FakeHost::hostGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    onGetValue(table, row, column, value);
    return 0;
}

int32_t FakeHost::hostSetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    HostCall call;
    call.kind = HostCall::Kind::SetValue;
    call.table = table;
    call.row = row;
    call.column = column;
    call.given = CellValue::of(value);
    call.returned = call.given;
    call.answer = static_cast<uint32_t>(setValueAnswer);
    if (call.given.type == wire::VALUE_INT) cells_[{table, row, column}].number = static_cast<int32_t>(call.given.value);
    calls_.push_back(call);
    return setValueAnswer;
}

void FakeHost::onGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    HostCall call;
    call.kind = HostCall::Kind::GetValue;
    call.table = table;
    call.row = row;
    call.column = column;
    call.given = CellValue::of(value);

    const uint16_t type = call.given.type;
    auto it = cells_.find({table, row, column});
    if (it != cells_.end()) {
        const Cell& cell = it->second;
        if (type == wire::VALUE_INT && cell.number) {
            setValueWord(value, static_cast<uint32_t>(*cell.number));
        } else if (type == wire::VALUE_TEXT) {
            if (cell.nullText) {
                setValueWord(value, 0);
            } else if (cell.text) {
                setValueWord(value, toWord(keep(*cell.text)));
            } else if (cell.number) {
                setValueWord(value, toWord(keep(std::to_string(*cell.number))));
            }
        }
    } else if (type == wire::VALUE_TEXT) {
        setValueWord(value, toWord(keep("")));  // the host answers every text read
    }
    call.returned = CellValue::of(value);
    calls_.push_back(call);
}

uint32_t FakeHost::onMessage(const MessageHeader* header) {
    HostCall call;
    call.kind = HostCall::Kind::SendMessage;
    const auto* bytes = reinterpret_cast<const uint8_t*>(header);
    uint16_t size = 0;
    std::memcpy(&size, bytes, sizeof size);
    call.record.assign(bytes, bytes + size);

    const uint32_t id = call.messageId();
    const uint32_t p1 = size >= sizeof(MessageRecord) ? wordAt(call.record, 22) : 0;
    if (id == wire::REQ_INFO_BOX) call.recordTexts[22] = textFrom(p1);
    if (id == wire::NOTIFY_SHOW) call.recordTexts[24] = textFrom(wordAt(call.record, 24));
    if (id == wire::REQ_COLUMN_REGISTER) call.recordTexts[31] = textFrom(wordAt(call.record, 31));
    for (const auto& shape : payloadShapes()) {
        if (shape.id != id || p1 == 0) continue;
        const auto* payload = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(p1));
        uint16_t payloadSize = 0;
        std::memcpy(&payloadSize, payload, sizeof payloadSize);
        call.payload.assign(payload, payload + payloadSize);
        for (size_t offset : shape.textOffsets) call.payloadTexts[offset] = textFrom(wordAt(call.payload, offset));
    }

    std::optional<uint32_t> given = answer ? answer(call) : std::nullopt;
    if (given) {
        call.answer = *given;
    } else if (id == wire::REQ_CONTACT_COUNT) {
        call.answer = static_cast<uint32_t>(contactCount);
    } else if (id == wire::REQ_BUTTON_GROUP) {
        call.answer = buttonGroup;
    } else if (id == wire::REQ_MESSAGE_NEW) {
        call.answer = nextMessageNumber_++;
    } else if (id == wire::REQ_ACTION_GET_VALUE) {
        call.answer = actionValue ? toWord(keep(*actionValue)) : 0;
    }
    calls_.push_back(call);
    return call.answer;
}

}  // namespace vemora::testing
