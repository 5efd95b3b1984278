#include "host_endpoint.h"

#include <cstdio>
#include <cstring>
#include <exception>

#include "control_values.h"
#include "icon_resources.h"

namespace vemora::standin {

namespace {

using Kind = wire::OperationCall::Kind;

std::string tableName(uint32_t table) {
    if (table == wire::CONFIG_TABLE) return "config";
    if (table == wire::CONTACT_TABLE) return "contact";
    return "table " + std::to_string(table);
}

std::string cellName(uint32_t table, int32_t row, uint32_t column) {
    return "table=" + std::to_string(table) + " (" + tableName(table) + "), row=" + std::to_string(row) +
           ", column=" + std::to_string(column) + " (" + columnName(static_cast<uint8_t>(table), column) + ")";
}

std::string operationName(const wire::OperationCall& call) {
    switch (call.kind) {
        case Kind::GetPluginModule: return "getPluginModule";
        case Kind::SetError: return "setError";
        case Kind::SendMessage: return "sendMessage";
        case Kind::GetValue: return "getValue";
        case Kind::SetValue: return "setValue";
    }
    return "?";
}

// The call as the trace heads it: "sendMessage REQ_MESSAGE_NEW", "getValue(table=...)".
std::string callTitle(const wire::OperationCall& call) {
    switch (call.kind) {
        case Kind::GetPluginModule: return "getPluginModule()";
        case Kind::SetError: return "setError(code=" + std::to_string(call.errorCode) + ")";
        case Kind::SendMessage: return "sendMessage " + wire::messageName(call.request.id, call.request.net);
        case Kind::GetValue:
        case Kind::SetValue: return operationName(call) + "(" + cellName(call.table, call.row, call.column) + ")";
    }
    return {};
}

std::string hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

}  // namespace

HostEndpoint::HostEndpoint(HostModel& model, HostEvents& events) : model_(model), events_(events) {}

std::optional<std::string> HostEndpoint::takeFailure() {
    std::optional<std::string> failure = std::move(failure_);
    failure_.reset();
    return failure;
}

uint32_t HostEndpoint::onOperation(wire::OperationCall& call) {
    try {
        if (trace_ != nullptr) {
            std::vector<std::string> details;
            if (call.kind == Kind::SendMessage) details = describeRequest(call.request);
            if (call.value != nullptr) details = describeValueRecord(*call.value, call.kind == Kind::SetValue);
            trace_->call(false, callTitle(call), details);
        }
        const uint32_t result = answer(call);
        if (trace_ != nullptr) {
            if (call.kind == Kind::GetPluginModule) trace_->answer(hex32(result));
            else if (call.kind == Kind::SetError) trace_->answer("(nothing)");
            else if (call.kind == Kind::GetValue && call.value != nullptr)
                trace_->answer(std::to_string(static_cast<int32_t>(result)), describeValueRecord(*call.value, true));
            else trace_->answer(std::to_string(result));
        }
        return result;
    } catch (...) {
        std::string reason = "unknown failure";
        try {
            throw;
        } catch (const std::exception& error) {
            reason = error.what();
        } catch (...) {
        }
        if (!failure_) failure_ = "the host failed while answering " + operationName(call) + ": " + reason;
        return 0;
    }
}

uint32_t HostEndpoint::answer(wire::OperationCall& call) {
    switch (call.kind) {
        case Kind::GetPluginModule:
            return wire::wordOf(module_);
        case Kind::SetError:
            events_.errorReported(call.errorCode);
            return 0;
        case Kind::SendMessage:
            return onRequest(call.request);
        case Kind::GetValue:
        case Kind::SetValue:
            if (call.value == nullptr) {
                warn(callTitle(call) + " with a null ValueRecord");
                return 0;
            }
            return call.kind == Kind::GetValue ? onGetValue(call.table, call.row, call.column, *call.value)
                                               : onSetValue(call.table, call.row, call.column, *call.value);
    }
    return 0;
}

// --- messages and requests -------------------------------------------------

uint32_t HostEndpoint::onRequest(const wire::Request& request) {
    for (const std::string& fault : request.faults) warn("sendMessage: " + fault);
    if (request.carriage == nullptr) {
        if (request.record.layout == nullptr || request.record.bytes.size() < sizeof(wire::MessageHeader)) return 0;
        if (request.net == wire::NOTIFIER_NET) {
            warn("the notifier does not know message " + std::to_string(request.id) + " of " +
                 std::to_string(request.record.declaredSize) + " bytes");
        } else if (request.net != wire::HOST_NET) {
            warn("sendMessage: request " + std::to_string(request.id) + " for net " + std::to_string(request.net) +
                 ", which no plugin here answers");
        } else {
            warn("sendMessage: unknown request " + std::to_string(request.id));
        }
        return 0;
    }
    // A record too short to hold what its kind carries is not acted upon.
    if (!request.record.complete()) return 0;
    if (request.carriage->p1Record != nullptr && (!request.p1Record || !request.p1Record->complete())) {
        return request.id == wire::REQ_ACTION_GET_VALUE ? wire::wordOf(keepAnswer("")) : 0;
    }
    switch (request.id) {
        case wire::REQ_CONTACT_COUNT:
            return static_cast<uint32_t>(model_.tables.contactCount());
        case wire::REQ_BUTTON_GROUP:
            return BUTTON_GROUP;
        case wire::REQ_INFO_BOX:
            events_.infoBoxShown(request.record.text(offsetof(wire::MessageRecord, p1)));
            return 1;
        case wire::REQ_COLUMN_REGISTER:
            return onColumnRegister(request.record);
        case wire::NOTIFY_SHOW:
            return onNotifyShow(request.record);
        case wire::REQ_MESSAGE_NEW:
            return onMessageNew(*request.p1Record);
        case wire::REQ_MESSAGE_QUEUE:
            return onMessageQueue(*request.p1Record);
        case wire::REQ_ACTION_ADD:
            return onActionAdd(*request.p1Record);
        case wire::REQ_ICON_REGISTER:
            return onIconRegister(*request.p1Record);
        case wire::REQ_ACTION_SET_STATUS:
            return onActionSetStatus(*request.p1Record);
        case wire::REQ_ACTION_GET_VALUE:
            return onActionGetValue(request);
        default:
            warn("sendMessage: " + request.name() + " is a message to the plugin, not a request");
            return 0;
    }
}

uint32_t HostEndpoint::onColumnRegister(const wire::DecodedRecord& record) {
    const auto registration = record.as<wire::ColumnRegisterRecord>();
    if (registration.table != wire::CONFIG_TABLE && registration.table != wire::CONTACT_TABLE) {
        warn("REQ_COLUMN_REGISTER: column " + std::to_string(registration.column) + " for unknown table " +
             std::to_string(registration.table));
        return 0;
    }
    if (registration.valueType != wire::VALUE_INT && registration.valueType != wire::VALUE_TEXT) {
        warn("REQ_COLUMN_REGISTER: column " + std::to_string(registration.column) + " of unknown value type " +
             std::to_string(registration.valueType));
        return 0;
    }
    ColumnInfo column;
    column.table = registration.table;
    column.id = registration.column;
    if (registration.valueType == wire::VALUE_TEXT) {
        column.kind = ValueKind::Text;
        column.defaultText = record.text(offsetof(wire::ColumnRegisterRecord, defaultValue));
    } else {
        column.kind = ValueKind::Int;
        column.defaultInt = static_cast<int32_t>(registration.defaultValue);
    }
    model_.columns.registerColumn(column);
    return 1;
}

uint32_t HostEndpoint::onNotifyShow(const wire::DecodedRecord& record) {
    const auto popup = record.as<wire::NotifyPopupRecord>();
    PopupShown shown;
    shown.text = record.text(offsetof(wire::NotifyPopupRecord, text));
    shown.icon = popup.icon;
    shown.timeout = popup.timeout;
    shown.style = popup.byte28;
    events_.popupShown(shown);
    return 1;
}

uint32_t HostEndpoint::onMessageNew(const wire::DecodedRecord& record) {
    const auto chat = record.as<wire::ChatMessage>();
    OutgoingMessage message;
    message.net = chat.net;
    message.type = chat.type;
    message.flags = chat.flags;
    message.recipient = record.text(offsetof(wire::ChatMessage, recipient));
    message.body = record.text(offsetof(wire::ChatMessage, body));
    const uint32_t number = model_.outbox.add(std::move(message));
    events_.messageCreated(*model_.outbox.find(number));
    return number;
}

uint32_t HostEndpoint::onMessageQueue(const wire::DecodedRecord& record) {
    const uint32_t number = record.as<wire::MessageRecord>().p1;
    if (!model_.outbox.queue(number)) {
        warn("REQ_MESSAGE_QUEUE: no message numbered " + std::to_string(number));
        return 0;
    }
    events_.messageQueued(*model_.outbox.find(number));
    return 1;
}

uint32_t HostEndpoint::onActionAdd(const wire::DecodedRecord& record) {
    const auto added = record.as<wire::UiActionRecord>();
    UiElement element;
    element.id = added.action.id;
    element.parent = added.action.parent;
    element.status = added.status;
    element.text = record.texts.at(offsetof(wire::UiActionRecord, text));
    element.param = added.param;
    element.word58 = added.word58;
    element.word66 = added.word66;
    element.half70 = added.half70;
    element.half72 = added.half72;
    element.half74 = added.half74;
    element.half76 = added.half76;
    element.recordSize = record.declaredSize;
    if (!model_.ui.add(element)) {
        warn("REQ_ACTION_ADD: element " + std::to_string(element.id) + " in " + std::to_string(element.parent) +
             " added again; the new one replaces it");
    }
    return 1;
}

uint32_t HostEndpoint::onIconRegister(const wire::DecodedRecord& record) {
    const auto registration = record.as<wire::IconRegisterRecord>();
    const bool pluginsModule = module_ != nullptr && registration.module == wire::wordOf(module_);
    if (registration.module != wire::wordOf(module_)) {
        warn("REQ_ICON_REGISTER: icon " + std::to_string(registration.iconId) +
             " names a module that is not the plugin's");
    }
    RegisteredIcon icon{registration.iconId, registration.type, registration.options, registration.module,
                        registration.resource, std::nullopt};
    // The host loads the group from the module it was told; only the
    // plugin's own handle is known to be a module.
    if (pluginsModule) {
        icon.loaded = loadIconGroup(module_, registration.resource);
        if (icon.loaded) {
            const std::string what = "REQ_ICON_REGISTER: icon " + std::to_string(registration.iconId) +
                                     ", icon group " + std::to_string(registration.resource) + ": ";
            if (!icon.loaded->failure.empty()) warn(what + icon.loaded->failure);
            for (const IconImage& image : icon.loaded->images) {
                if (!image.failure.empty()) warn(what + describeIconImage(image));
            }
        }
    }
    model_.ui.registerIcon(icon);
    return registration.iconId;
}

uint32_t HostEndpoint::onActionSetStatus(const wire::DecodedRecord& record) {
    const auto change = record.as<wire::UiActionRecord>();
    UiElement* element = model_.ui.find(change.action.id, change.action.parent);
    if (element == nullptr) {
        warn("REQ_ACTION_SET_STATUS: no element " + std::to_string(change.action.id) + " in " +
             std::to_string(change.action.parent));
        return 0;
    }
    if ((change.fieldMask & wire::FIELDS_STATUS) == 0) return 1;  // nothing to change
    element->status = (element->status & ~change.statusMask) | (change.status & change.statusMask);
    return 1;
}

uint32_t HostEndpoint::onActionGetValue(const wire::Request& request) {
    const auto asked = request.p1Record->as<wire::UiActionRecord>();
    const UiElement* element = model_.ui.find(asked.action.id, asked.action.parent);
    std::string value;
    if (element == nullptr) {
        warn("REQ_ACTION_GET_VALUE: no element " + std::to_string(asked.action.id) + " in " +
             std::to_string(asked.action.parent));
    } else {
        value = controlValueText(model_, *element, asked.action.contact);
    }
    if (asked.text != 0 && asked.textSize > 0) {  // the plugin's own buffer
        char* buffer = const_cast<char*>(static_cast<const char*>(wire::addressOf(asked.text)));
        const size_t length = value.size() < asked.textSize - 1 ? value.size() : asked.textSize - 1;
        std::memcpy(buffer, value.data(), length);
        buffer[length] = '\0';
        return asked.text;
    }
    return wire::wordOf(keepAnswer(std::move(value)));
}

// --- table cells -------------------------------------------------------------

bool HostEndpoint::checkCell(bool writing, uint32_t table, int32_t row, uint32_t column) {
    const char* operation = writing ? "setValue" : "getValue";
    // Row 0 of the contacts is read by every list rebuild: it exists, empty,
    // and nothing may be written there.
    const bool rowExists = model_.tables.hasRow(static_cast<uint8_t>(table), row) ||
                           (table == wire::CONTACT_TABLE && row == 0 && !writing);
    if (!rowExists) {
        warn(std::string(operation) + ": no row " + std::to_string(row) + " in the " + tableName(table) + " table");
        return false;
    }
    if (model_.columns.find(static_cast<uint8_t>(table), column) == nullptr &&
        unknownColumnsSeen_.insert({table, column}).second) {
        warn(std::string(operation) + ": column " + std::to_string(column) + " of the " + tableName(table) +
             " table is not registered");
    }
    return true;
}

uint32_t HostEndpoint::onGetValue(uint32_t table, int32_t row, uint32_t column, wire::ValueRecord& value) {
    const auto tableNo = static_cast<uint8_t>(table);
    const bool known = checkCell(false, table, row, column);
    // A cell of no row or of no column holds nothing: 0, or the empty text.
    const bool nothing = !known || (model_.columns.find(tableNo, column) == nullptr &&
                                    model_.tables.cell(tableNo, row, column) == nullptr);
    CellValue cell = nothing ? CellValue::ofInt(0) : model_.tables.read(model_.columns, tableNo, row, column);
    if (nothing && value.type == wire::VALUE_TEXT) cell = CellValue::ofText("");
    switch (value.type) {
        case wire::VALUE_INT:
            value.value = cell.kind == ValueKind::Int ? static_cast<uint32_t>(cell.number) : 0;
            return known ? 1 : 0;
        case wire::VALUE_INT64: {
            const int64_t wide = cell.kind == ValueKind::Int ? cell.number : 0;
            value.value = static_cast<uint32_t>(wide);
            value.extra = static_cast<uint32_t>(static_cast<uint64_t>(wide) >> 32);
            return known ? 1 : 0;
        }
        case wire::VALUE_TEXT: {
            std::string text = cell.kind == ValueKind::Int ? std::to_string(cell.number) : cell.text;
            const uint32_t bufferSize = value.extra;
            const bool ownBuffer = value.value != 0 && bufferSize != 0 && bufferSize != wire::TEXT_READ_TEMPLATE;
            if (ownBuffer) {
                char* buffer = const_cast<char*>(static_cast<const char*>(wire::addressOf(value.value)));
                const size_t length = text.size() < bufferSize - 1 ? text.size() : bufferSize - 1;
                std::memcpy(buffer, text.data(), length);
                buffer[length] = '\0';
            } else {
                value.value = wire::wordOf(keepAnswer(std::move(text)));
            }
            return known ? 1 : 0;
        }
        default:
            warn("getValue: unknown value type " + std::to_string(value.type));
            return 0;
    }
}

uint32_t HostEndpoint::onSetValue(uint32_t table, int32_t row, uint32_t column, const wire::ValueRecord& value) {
    if (!checkCell(true, table, row, column)) return 0;
    const auto tableNo = static_cast<uint8_t>(table);
    switch (value.type) {
        case wire::VALUE_INT:
            model_.tables.set(tableNo, row, column, CellValue::ofInt(static_cast<int32_t>(value.value)));
            return 1;
        case wire::VALUE_TEXT: {
            if (value.value == 0) warn("setValue text is a null pointer");
            const char* text = value.value == 0 ? "" : static_cast<const char*>(wire::addressOf(value.value));
            model_.tables.set(tableNo, row, column, CellValue::ofText(text));
            return 1;
        }
        default:
            warn("setValue: value type " + std::to_string(value.type) + " is not kept");
            return 0;
    }
}

const char* HostEndpoint::keepAnswer(std::string text) {
    answers_.push_back(std::move(text));
    if (answers_.size() > KEPT_ANSWERS) answers_.pop_front();
    return answers_.back().c_str();
}

}  // namespace vemora::standin
