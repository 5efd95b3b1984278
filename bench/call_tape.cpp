#include "call_tape.h"

#include <cstring>

namespace vemora::bench {

namespace {

void setWordAt(std::string& bytes, size_t offset, uint32_t word) {
    if (offset + 4 <= bytes.size()) std::memcpy(bytes.data() + offset, &word, 4);
}

}  // namespace

std::string* CallTape::keep(const std::vector<uint8_t>& bytes) {
    storage_.emplace_back(bytes.begin(), bytes.end());
    return &storage_.back();
}

uint32_t CallTape::keepText(const std::optional<std::string>& text) {
    if (!text) return 0;
    storage_.push_back(*text);
    return wire::wordOf(storage_.back().c_str());
}

std::string* CallTape::keepRecord(const wire::DecodedRecord& record) {
    std::string* copy = keep(record.bytes);
    for (const auto& [offset, text] : record.texts) setWordAt(*copy, offset, keepText(text));
    return copy;
}

uint32_t CallTape::onOperation(wire::OperationCall& call) {
    using Kind = wire::OperationCall::Kind;
    const wire::HostOperations& host = *host_->operations;
    Call kept;
    kept.kind = call.kind;
    switch (call.kind) {
        case Kind::GetPluginModule:
            return wire::wordOf(host.getPluginModule(host_));
        case Kind::SetError:
            host.setError(host_, call.errorCode);
            return 0;
        case Kind::SendMessage:
            kept.record = keepRecord(call.request.record);
            if (call.request.p1Record) {
                setWordAt(*kept.record, offsetof(wire::MessageRecord, p1),
                          wire::wordOf(keepRecord(*call.request.p1Record)->data()));
            }
            calls_.push_back(kept);
            return host.sendMessage(host_, static_cast<wire::MessageHeader*>(const_cast<void*>(call.record)));
        case Kind::GetValue:
        case Kind::SetValue:
            kept.table = call.table;
            kept.row = call.row;
            kept.column = call.column;
            kept.value = *call.value;
            if (call.kind == Kind::SetValue && kept.value.type == wire::VALUE_TEXT) {
                kept.value.value = keepText(std::string(static_cast<const char*>(wire::addressOf(call.value->value))));
            }
            calls_.push_back(kept);
            return static_cast<uint32_t>(
                (call.kind == Kind::GetValue ? host.getValue : host.setValue)(host_, call.table, call.row, call.column,
                                                                            call.value));
    }
    return 0;
}

void CallTape::replay() const {
    using Kind = wire::OperationCall::Kind;
    const wire::HostOperations& host = *host_->operations;
    for (const Call& call : calls_) {
        wire::ValueRecord value = call.value;
        switch (call.kind) {
            case Kind::GetValue:
                host.getValue(host_, call.table, call.row, call.column, &value);
                break;
            case Kind::SetValue:
                host.setValue(host_, call.table, call.row, call.column, &value);
                break;
            case Kind::SendMessage:
                host.sendMessage(host_, reinterpret_cast<wire::MessageHeader*>(call.record->data()));
                break;
            default:
                break;
        }
    }
}

}  // namespace vemora::bench
