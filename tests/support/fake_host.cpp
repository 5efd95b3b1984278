#include "fake_host.h"

#include <cstring>

namespace vemora::testing {

std::optional<std::string> HostCall::find(const std::map<uint16_t, std::optional<std::string>>& texts,
                                          uint16_t offset) {
    auto it = texts.find(offset);
    return it == texts.end() ? std::nullopt : it->second;
}

HostCall::Value HostCall::Value::of(const wire::ValueRecord* record) {
    const auto copy = wire::readRecord<wire::ValueRecord>(record);
    return {copy.type, copy.value, copy.extra};
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

uint32_t FakeHost::onOperation(wire::OperationCall& operation) {
    texts_.begin();
    HostCall call;
    call.kind = operation.kind;
    call.errorCode = operation.errorCode;
    call.table = operation.table;
    call.row = operation.row;
    call.column = operation.column;
    switch (operation.kind) {
        case HostCall::Kind::GetPluginModule:
            call.answer = pluginModule;
            break;
        case HostCall::Kind::SetError:
            break;
        case HostCall::Kind::SendMessage:
            call.answer = onMessage(call, operation.request);
            break;
        case HostCall::Kind::GetValue:
            onGetValue(call, operation.value);
            break;
        case HostCall::Kind::SetValue:
            call.given = call.returned = HostCall::Value::of(operation.value);
            call.answer = onSetValue(call);
            break;
    }
    calls_.push_back(call);
    texts_.end(operation);
    return call.answer;
}

uint32_t FakeHost::onSetValue(HostCall& call) {
    if (call.given.type == wire::VALUE_INT) {
        cells_[{call.table, call.row, call.column}].number = static_cast<int32_t>(call.given.value);
    }
    return static_cast<uint32_t>(setValueAnswer);
}

void FakeHost::onGetValue(HostCall& call, wire::ValueRecord* value) {
    call.given = HostCall::Value::of(value);
    const uint16_t type = call.given.type;
    auto it = cells_.find({call.table, call.row, call.column});
    auto answerText = [&](const std::string& text) {
        value->value = wire::wordOf(texts_.answerCell(call.table, call.column, text));
    };
    if (it != cells_.end()) {
        const Cell& cell = it->second;
        if (type == wire::VALUE_INT && cell.number) {
            value->value = static_cast<uint32_t>(*cell.number);
        } else if (type == wire::VALUE_TEXT) {
            if (cell.nullText) {
                value->value = 0;
            } else if (cell.text) {
                answerText(*cell.text);
            } else if (cell.number) {
                answerText(std::to_string(*cell.number));
            }
        }
    } else if (type == wire::VALUE_TEXT) {
        answerText("");  // the host answers every text read
    }
    call.returned = HostCall::Value::of(value);
}

uint32_t FakeHost::onMessage(HostCall& call, const wire::Request& request) {
    call.record = request.record.bytes;
    call.recordTexts = request.record.texts;
    if (request.p1Record) {
        call.payload = request.p1Record->bytes;
        call.payloadTexts = request.p1Record->texts;
    }
    if (answer) {
        if (const std::optional<uint32_t> given = answer(call)) return *given;
    }
    switch (request.id) {
        case wire::REQ_CONTACT_COUNT:
            return static_cast<uint32_t>(contactCount);
        case wire::REQ_BUTTON_GROUP:
            return buttonGroup;
        case wire::REQ_MESSAGE_NEW:
            return nextMessageNumber_++;
        case wire::REQ_ACTION_GET_VALUE:
            return actionValue ? wire::wordOf(texts_.answerValue(*actionValue)) : 0;
        default:
            return 0;
    }
}

}  // namespace vemora::testing
