#include "endpoint.h"

#include <cstring>
#include <exception>

#include "host_error.h"
#include "rendering.h"

namespace vemora::standin {

namespace {

using Kind = wire::OperationCall::Kind;

const char* operationName(Kind kind) {
    switch (kind) {
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
        case Kind::SetValue: break;
    }
    return std::string(operationName(call.kind)) + "(table=" + std::to_string(call.table) + " (" +
           tableName(call.table) + "), row=" + std::to_string(call.row) + ", column=" + std::to_string(call.column) +
           " (" + columnName(static_cast<uint8_t>(call.table), call.column) + "))";
}

// A text into the plugin's own buffer of `size` bytes, cut to fit and ended by 0.
void copyIntoBuffer(uint32_t address, uint32_t size, const std::string& text) {
    char* buffer = const_cast<char*>(static_cast<const char*>(wire::addressOf(address)));
    const size_t length = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace

HostEndpoint::HostEndpoint(HostModel& model, HostEvents& events, std::string pluginPath)
    : model_(model), events_(events), pluginPath_(std::move(pluginPath)) {}

HostEndpoint::~HostEndpoint() {
    try {
        stop();
    } catch (...) {  // a destructor must not throw; the library is closed regardless
        library_.reset();
    }
}

// --- the host's messages to the plugin -----------------------------------------

const PluginIdentity& HostEndpoint::load() {
    if (running()) throw HostError("the plugin is already running");
    library_ = openPluginLibrary(pluginPath_);
    model_.ui.clear();
    identity_ = {};
    identity_.net = deliver(wire::MSG_INFO_NET);
    identity_.type = deliver(wire::MSG_INFO_TYPE);
    identity_.version = identityText(wire::MSG_INFO_VERSION);
    identity_.signature = identityText(wire::MSG_INFO_SIGNATURE);
    identity_.name = identityText(wire::MSG_INFO_NAME);
    return identity_;
}

std::string HostEndpoint::identityText(uint32_t id) {
    const uint32_t answer = deliver(id);
    return answer == 0 ? std::string() : displayText(static_cast<const char*>(wire::addressOf(answer)), false);
}

void HostEndpoint::startUp() {
    deliver(wire::MSG_INIT, wire::wordOf(control()));
    deliver(wire::MSG_SETCOLUMNS);
    deliver(wire::MSG_UI_PREPARE);
    deliver(wire::MSG_START);
    refreshButtons();
}

void HostEndpoint::stop() {
    if (!running()) return;
    deliver(wire::MSG_DEINIT);
    library_.reset();
    model_.ui.clear();
}

uint32_t HostEndpoint::deliver(uint32_t id, uint32_t p1, uint16_t size) {
    if (!running()) throw HostError("the plugin is not running (use start first)");
    wire::MessageRecord record{};
    record.header.size = size;
    record.header.id = id;
    record.p1 = p1;
    if (trace_ != nullptr) {
        trace_->call(true, "IMessageProc " + wire::messageName(id, wire::HOST_NET),
                     describeRequest(wire::decodeRequest(&record)));
    }
    const uint32_t answer = library_->entryPoint()(&record);
    texts_.expireAll();  // the plugin has returned: nothing it was handed is valid now
    if (trace_ != nullptr) trace_->answer(describeAnswer(id, answer));
    if (failure_) {
        const std::string failure = std::move(*failure_);
        failure_.reset();
        throw HostError(failure);
    }
    return answer;
}

uint32_t HostEndpoint::deliverAsked(uint32_t id, uint32_t parameter, uint16_t size) {
    wire::ActionNotifyRecord notice{};
    uint32_t p1 = parameter;
    if (id == wire::MSG_INIT) {
        p1 = parameter == 0 ? 0 : wire::wordOf(control());
    } else if (id == wire::MSG_UI_ACTION && parameter != 0) {
        wire::ActionRef element{static_cast<int32_t>(parameter), 0, wire::NO_CONTACT};
        for (const UiElement& known : model_.ui.elements())
            if (known.id == element.id) element.parent = known.parent;
        notice = {sizeof notice, element, wire::ACTION_PRESSED};
        p1 = wire::wordOf(&notice);
    }
    return deliver(id, p1, size);
}

uint32_t HostEndpoint::notifyAction(const wire::ActionRef& element, uint32_t code) {
    const wire::ActionNotifyRecord notice{sizeof notice, element, code};
    return deliver(wire::MSG_UI_ACTION, wire::wordOf(&notice));
}

void HostEndpoint::refreshButtons() {
    for (const UiElement* button : model_.ui.children(BUTTON_GROUP)) {
        if (button->kind() == ElementKind::Button && button->id != 0) {
            notifyAction({button->id, button->parent, wire::NO_CONTACT}, wire::ACTION_REFRESH);
        }
    }
}

// --- the plugin's calls into the host --------------------------------------------

uint32_t HostEndpoint::onOperation(wire::OperationCall& call) {
    texts_.begin();
    uint32_t result = 0;
    try {
        if (trace_ != nullptr) {
            std::vector<std::string> details;
            if (call.kind == Kind::SendMessage) details = describeRequest(call.request);
            if (call.value != nullptr) details = describeValueRecord(*call.value, call.kind == Kind::SetValue);
            trace_->call(false, callTitle(call), details);
        }
        result = answer(call);
        if (trace_ != nullptr) {
            if (call.kind == Kind::GetPluginModule) {
                trace_->answer(hex32(result));
            } else if (call.kind == Kind::SetError) {
                trace_->answer("(nothing)");
            } else if (call.kind == Kind::GetValue && call.value != nullptr) {
                trace_->answer(std::to_string(static_cast<int32_t>(result)), describeValueRecord(*call.value, true));
            } else {
                trace_->answer(std::to_string(result));
            }
        }
    } catch (const std::exception& error) {  // nothing may unwind into the plugin
        if (!failure_) failure_ = std::string("the host failed while answering ") + operationName(call.kind) + ": " + error.what();
        result = 0;
    }
    texts_.end(call);
    return result;
}

uint32_t HostEndpoint::answer(wire::OperationCall& call) {
    switch (call.kind) {
        case Kind::GetPluginModule:
            return library_ ? wire::wordOf(library_->moduleHandle()) : 0;
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
            return call.kind == Kind::GetValue ? onGetValue(call, *call.value) : onSetValue(call, *call.value);
    }
    return 0;
}

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
        return request.id == wire::REQ_ACTION_GET_VALUE ? wire::wordOf(texts_.answerValue("")) : 0;
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
        case wire::NOTIFY_SHOW: {
            const auto popup = request.record.as<wire::NotifyPopupRecord>();
            events_.popupShown({request.record.text(offsetof(wire::NotifyPopupRecord, text)), popup.icon, popup.timeout});
            return 1;
        }
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
            return onActionGetValue(*request.p1Record);
        default:
            warn("sendMessage: " + request.name() + " is a message to the plugin, not a request");
            return 0;
    }
}

uint32_t HostEndpoint::onColumnRegister(const wire::DecodedRecord& record) {
    const auto registration = record.as<wire::ColumnRegisterRecord>();
    const std::string column = "REQ_COLUMN_REGISTER: column " + std::to_string(registration.column);
    if (registration.table != wire::CONFIG_TABLE && registration.table != wire::CONTACT_TABLE) {
        warn(column + " for unknown table " + std::to_string(registration.table));
        return 0;
    }
    if (registration.valueType != wire::VALUE_INT && registration.valueType != wire::VALUE_TEXT) {
        warn(column + " of unknown value type " + std::to_string(registration.valueType));
        return 0;
    }
    ColumnInfo info;
    info.table = registration.table;
    info.id = registration.column;
    if (registration.valueType == wire::VALUE_TEXT) {
        info.kind = ValueKind::Text;
        info.defaultText = record.text(offsetof(wire::ColumnRegisterRecord, defaultValue));
    } else {
        info.defaultInt = static_cast<int32_t>(registration.defaultValue);
    }
    model_.columns.registerColumn(std::move(info));
    return 1;
}

uint32_t HostEndpoint::onMessageNew(const wire::DecodedRecord& record) {
    const auto chat = record.as<wire::ChatMessage>();
    OutgoingMessage message;
    message.number = static_cast<uint32_t>(model_.outbox.size()) + 1;
    message.net = chat.net;
    message.type = chat.type;
    message.flags = chat.flags;
    message.recipient = record.text(offsetof(wire::ChatMessage, recipient));
    message.body = record.text(offsetof(wire::ChatMessage, body));
    model_.outbox.push_back(std::move(message));
    events_.messageCreated(model_.outbox.back());
    return model_.outbox.back().number;
}

uint32_t HostEndpoint::onMessageQueue(const wire::DecodedRecord& record) {
    const uint32_t number = record.as<wire::MessageRecord>().p1;
    if (number == 0 || number > model_.outbox.size()) {
        warn("REQ_MESSAGE_QUEUE: no message numbered " + std::to_string(number));
        return 0;
    }
    OutgoingMessage& message = model_.outbox[number - 1];
    message.queued = true;
    events_.messageQueued(message);
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
    if (!model_.ui.add(element)) {
        warn("REQ_ACTION_ADD: element " + std::to_string(element.id) + " in " + std::to_string(element.parent) +
             " added again; the new one replaces it");
    }
    return 1;
}

uint32_t HostEndpoint::onIconRegister(const wire::DecodedRecord& record) {
    const auto registration = record.as<wire::IconRegisterRecord>();
    if (!library_ || registration.module != wire::wordOf(library_->moduleHandle())) {
        warn("REQ_ICON_REGISTER: icon " + std::to_string(registration.iconId) +
             " names a module that is not the plugin's");
    }
    model_.ui.registerIcon({registration.iconId, registration.type, registration.options, registration.resource});
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

uint32_t HostEndpoint::onActionGetValue(const wire::DecodedRecord& record) {
    const auto asked = record.as<wire::UiActionRecord>();
    const UiElement* element = model_.ui.find(asked.action.id, asked.action.parent);
    std::string value;
    if (element == nullptr) {
        warn("REQ_ACTION_GET_VALUE: no element " + std::to_string(asked.action.id) + " in " +
             std::to_string(asked.action.parent));
    } else {
        value = model_.controlValue(*element, asked.action.contact);
    }
    if (asked.text != 0 && asked.textSize > 0) {  // the plugin's own buffer
        copyIntoBuffer(asked.text, asked.textSize, value);
        return asked.text;
    }
    return wire::wordOf(texts_.answerValue(value));
}

// --- table cells ---------------------------------------------------------------

bool HostEndpoint::checkCell(const char* operation, bool writing, uint32_t table, int32_t row, uint32_t column) {
    // Row 0 of the contacts is read by every list rebuild: it exists, empty,
    // and nothing may be written there.
    const auto tableNo = static_cast<uint8_t>(table);
    const bool rowExists = model_.tables.hasRow(tableNo, row) ||
                           (table == wire::CONTACT_TABLE && row == 0 && !writing);
    if (!rowExists) {
        warn(std::string(operation) + ": no row " + std::to_string(row) + " in the " + tableName(table) + " table");
        return false;
    }
    if (model_.columns.find(tableNo, column) == nullptr && unknownColumnsSeen_.insert({table, column}).second) {
        warn(std::string(operation) + ": column " + std::to_string(column) + " of the " + tableName(table) +
             " table is not registered");
    }
    return true;
}

uint32_t HostEndpoint::onGetValue(const wire::OperationCall& call, wire::ValueRecord& value) {
    const auto table = static_cast<uint8_t>(call.table);
    const bool known = checkCell("getValue", false, call.table, call.row, call.column);
    // A cell of no row or of no column holds nothing: 0, or the empty text.
    const bool nothing = !known || (model_.columns.find(table, call.column) == nullptr &&
                                    model_.tables.cell(table, call.row, call.column) == nullptr);
    const CellValue cell = nothing ? CellValue::ofText("") : model_.tables.read(model_.columns, table, call.row, call.column);
    const int32_t number = cell.kind == ValueKind::Int ? cell.number : 0;
    switch (value.type) {
        case wire::VALUE_INT:
            value.value = static_cast<uint32_t>(number);
            return known ? 1 : 0;
        case wire::VALUE_INT64:
            value.value = static_cast<uint32_t>(number);
            value.extra = number < 0 ? 0xFFFFFFFFu : 0;
            return known ? 1 : 0;
        case wire::VALUE_TEXT: {
            const std::string text = cell.kind == ValueKind::Int ? std::to_string(cell.number) : cell.text;
            if (value.value != 0 && value.extra != 0 && value.extra != wire::TEXT_READ_TEMPLATE) {
                copyIntoBuffer(value.value, value.extra, text);  // the plugin's own buffer
            } else {
                value.value = wire::wordOf(texts_.answerCell(call.table, call.column, text));
            }
            return known ? 1 : 0;
        }
        default:
            warn("getValue: unknown value type " + std::to_string(value.type));
            return 0;
    }
}

uint32_t HostEndpoint::onSetValue(const wire::OperationCall& call, const wire::ValueRecord& value) {
    if (!checkCell("setValue", true, call.table, call.row, call.column)) return 0;
    const auto table = static_cast<uint8_t>(call.table);
    switch (value.type) {
        case wire::VALUE_INT:
            model_.tables.set(table, call.row, call.column, CellValue::ofInt(static_cast<int32_t>(value.value)));
            return 1;
        case wire::VALUE_TEXT: {
            if (value.value == 0) warn("setValue text is a null pointer");
            const char* text = value.value == 0 ? "" : static_cast<const char*>(wire::addressOf(value.value));
            model_.tables.set(table, call.row, call.column, CellValue::ofText(text));
            return 1;
        }
        default:
            warn("setValue: value type " + std::to_string(value.type) + " is not kept");
            return 0;
    }
}

}  // namespace vemora::standin
