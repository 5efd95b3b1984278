#include "fake_host.h"

#include "host/request_ids.h"

namespace vemora::testing {

namespace {

std::optional<std::string> textFrom(uint32_t address) {
    if (address == 0) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(static_cast<uintptr_t>(address)));
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
        {REQ_MESSAGE_NEW, {14, 18, 22, 26}},
        {REQ_MESSAGE_QUEUE, {}},
        {REQ_ACTION_ADD, {50}},
        {REQ_ACTION_SET_STATUS, {}},
        {REQ_ACTION_GET_VALUE, {}},
        {REQ_ICON_REGISTER, {}},
    };
    return shapes;
}

}  // namespace

std::optional<std::string> HostCall::find(const std::map<size_t, std::optional<std::string>>& texts,
                                          size_t offset) {
    auto it = texts.find(offset);
    return it == texts.end() ? std::nullopt : it->second;
}

FakeHost::FakeHost() {
}

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
    FakeHost& host = *this;
    HostCall call;
    call.kind = HostCall::Kind::GetPluginModule;
    call.answer = host.pluginModule;
    host.calls_.push_back(call);
    return reinterpret_cast<void*>(static_cast<uintptr_t>(host.pluginModule));
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
    FakeHost& host = *this;
    HostCall call;
    call.kind = HostCall::Kind::SetValue;
    call.table = table;
    call.row = row;
    call.column = column;
    std::memcpy(&call.given, value, sizeof(ValueRecord));
    call.returned = call.given;
    call.answer = static_cast<uint32_t>(host.setValueAnswer);
    if (value->type == VALUE_INT) host.cells_[{table, row, column}].number = static_cast<int32_t>(value->value);
    host.calls_.push_back(call);
    return host.setValueAnswer;
}

void FakeHost::onGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    HostCall call;
    call.kind = HostCall::Kind::GetValue;
    call.table = table;
    call.row = row;
    call.column = column;
    std::memcpy(&call.given, value, sizeof(ValueRecord));

    auto it = cells_.find({table, row, column});
    if (it != cells_.end()) {
        const Cell& cell = it->second;
        if (value->type == VALUE_INT && cell.number) {
            value->value = static_cast<uint32_t>(*cell.number);
        } else if (value->type == VALUE_TEXT) {
            if (cell.nullText) {
                value->value = 0;
            } else if (cell.text) {
                value->value = toWord(keep(*cell.text));
            } else if (cell.number) {
                value->value = toWord(keep(std::to_string(*cell.number)));
            }
        }
    } else if (value->type == VALUE_TEXT) {
        value->value = toWord(keep(""));  // the host answers every text read
    }
    std::memcpy(&call.returned, value, sizeof(ValueRecord));
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
    if (id == REQ_INFO_BOX) call.recordTexts[22] = textFrom(p1);
    if (id == NOTIFY_SHOW) call.recordTexts[24] = textFrom(wordAt(call.record, 24));
    if (id == REQ_COLUMN_REGISTER) call.recordTexts[31] = textFrom(wordAt(call.record, 31));
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
    } else if (id == REQ_CONTACT_COUNT) {
        call.answer = static_cast<uint32_t>(contactCount);
    } else if (id == REQ_BUTTON_GROUP) {
        call.answer = buttonGroup;
    } else if (id == REQ_MESSAGE_NEW) {
        call.answer = nextMessageNumber_++;
    } else if (id == REQ_ACTION_GET_VALUE) {
        call.answer = actionValue ? toWord(keep(*actionValue)) : 0;
    }
    calls_.push_back(call);
    return call.answer;
}

}  // namespace vemora::testing
