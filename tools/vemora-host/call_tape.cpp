#include "call_tape.h"

#include <cstring>

#include "host/chat_and_popup.h"
#include "host/host_control.h"
#include "wire_records.h"

namespace vemora::standin {

namespace {

uint32_t wordAt(const std::string& bytes, size_t offset) {
    uint32_t word = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&word, bytes.data() + offset, 4);
    return word;
}

void setWordAt(std::string& bytes, size_t offset, uint32_t word) {
    if (offset + 4 <= bytes.size()) std::memcpy(bytes.data() + offset, &word, 4);
}

}  // namespace

std::string* CallTape::keep(const void* bytes, size_t size) {
    storage_.emplace_back(static_cast<const char*>(bytes), size);
    return &storage_.back();
}

uint32_t CallTape::keepText(uint32_t address) {
    if (address == 0) return 0;
    const char* text = static_cast<const char*>(addressOf(address));
    return wordOf(keep(text, std::strlen(text) + 1)->data());
}

void CallTape::redirectText(std::string& copy, size_t offset) { setWordAt(copy, offset, keepText(wordAt(copy, offset))); }

// The record a request's p1 points to, copied with the texts it points to.
void CallTape::redirectPayload(std::string& copy, size_t offset, uint32_t id) {
    const uint32_t p1 = wordAt(copy, offset);
    if (p1 == 0) return;
    if (id == REQ_INFO_BOX) {
        setWordAt(copy, offset, keepText(p1));
        return;
    }
    size_t size = 0;
    std::vector<size_t> texts;
    switch (id) {
        case REQ_MESSAGE_NEW:
            size = sizeof(WireChatMessage);
            texts = {offsetof(WireChatMessage, reservedTextA), offsetof(WireChatMessage, recipient),
                     offsetof(WireChatMessage, body), offsetof(WireChatMessage, reservedTextB)};
            break;
        case REQ_MESSAGE_QUEUE:
            size = sizeof(WireMessage);
            break;
        case REQ_ACTION_ADD:
            size = copyRecord<uint16_t>(addressOf(p1));
            texts = {offsetof(WireUiAction, text)};
            break;
        case REQ_ACTION_SET_STATUS:
        case REQ_ACTION_GET_VALUE:
            size = UI_ACTION_SIZE;
            break;
        case REQ_ICON_REGISTER:
            size = sizeof(WireIconRegister);
            break;
        default:
            return;
    }
    std::string* payload = keep(addressOf(p1), size);
    for (size_t text : texts) redirectText(*payload, text);
    setWordAt(copy, offset, wordOf(payload->data()));
}

void CallTape::recordGetValue(uint32_t table, int32_t row, uint32_t column, const ValueRecord& given) {
    calls_.push_back({Call::Kind::GetValue, table, row, column, given, nullptr});
}

void CallTape::recordSetValue(uint32_t table, int32_t row, uint32_t column, const ValueRecord& given) {
    Call call{Call::Kind::SetValue, table, row, column, given, nullptr};
    if (given.type == VALUE_TEXT) call.value.value = keepText(given.value);
    calls_.push_back(call);
}

void CallTape::recordSendMessage(const void* record) {
    const auto header = copyRecord<WireHeader>(record, copyRecord<uint16_t>(record));
    std::string* copy = keep(record, header.size);
    if (header.id == NOTIFY_SHOW && header.net == NOTIFIER_NET) {
        redirectText(*copy, offsetof(WireNotifyPopup, text));
    } else if (header.id == REQ_COLUMN_REGISTER && header.size >= sizeof(WireColumnRegister)) {
        if (copyRecord<WireColumnRegister>(record).valueType == VALUE_TEXT) {
            redirectText(*copy, offsetof(WireColumnRegister, defaultValue));
        }
    } else if (header.size >= sizeof(WireMessage)) {
        redirectPayload(*copy, offsetof(WireMessage, p1), header.id);
    }
    calls_.push_back({Call::Kind::SendMessage, 0, 0, 0, ValueRecord(VALUE_INT), copy});
}

void CallTape::replay(HostControl* control) const {
    const HostOperations& ops = *control->operations;
    for (const Call& call : calls_) {
        ValueRecord value = call.value;
        switch (call.kind) {
            case Call::Kind::GetValue:
                ops.getValue(control, call.table, call.row, call.column, &value);
                break;
            case Call::Kind::SetValue:
                ops.setValue(control, call.table, call.row, call.column, &value);
                break;
            case Call::Kind::SendMessage:
                ops.sendMessage(control, reinterpret_cast<MessageHeader*>(call.record->data()));
                break;
        }
    }
}

void CallTape::clear() {
    calls_.clear();
    storage_.clear();
}

}  // namespace vemora::standin
