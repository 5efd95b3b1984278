#include "host_endpoint.h"

#include <cstdio>
#include <cstring>
#include <exception>

#include "control_values.h"
#include "host/chat_and_popup.h"
#include "host/host_control.h"
#include "host/tables.h"
#include "icon_resources.h"
#include "wire_records.h"

namespace vemora::standin {

namespace {

std::string tableName(uint32_t table) {
    if (table == CONFIG_TABLE) return "config";
    if (table == CONTACT_TABLE) return "contact";
    return "table " + std::to_string(table);
}

std::string cellName(uint32_t table, int32_t row, uint32_t column) {
    return "table=" + std::to_string(table) + " (" + tableName(table) + "), row=" + std::to_string(row) +
           ", column=" + std::to_string(column) + " (" + columnName(static_cast<uint8_t>(table), column) + ")";
}

constexpr uint32_t SET_STATUS_FIELD = 0x1;

}  // namespace

HostEndpoint::HostEndpoint(HostModel& model, HostEvents& events) : model_(model), events_(events) {
}

std::optional<std::string> HostEndpoint::takeFailure() {
    std::optional<std::string> failure = std::move(failure_);
    failure_.reset();
    return failure;
}

void HostEndpoint::fail(const char* operation) {
    std::string reason = "unknown failure";
    try {
        throw;
    } catch (const std::exception& error) {
        reason = error.what();
    } catch (...) {
    }
    if (!failure_) failure_ = std::string("the host failed while answering ") + operation + ": " + reason;
}

// --- the five operations -------------------------------------------------

void* HostEndpoint::hostGetPluginModule() {
    if (trace_ != nullptr) {
        trace_->call(false, "getPluginModule()", {});
        char handle[16];
        std::snprintf(handle, sizeof handle, "0x%08X", wordOf(module_));
        trace_->answer(handle);
    }
    return module_;
}

void HostEndpoint::hostSetError(int32_t code) {
    try {
        if (trace_ != nullptr) trace_->call(false, "setError(code=" + std::to_string(code) + ")", {});
        events_.errorReported(code);
        if (trace_ != nullptr) trace_->answer("(nothing)");
    } catch (...) {
        fail("setError");
    }
}

uint32_t HostEndpoint::hostSendMessage(MessageHeader* record) {
    try {
        if (record == nullptr) {
            warn("sendMessage with a null record");
            return 0;
        }
        if (tape_ != nullptr) tape_->recordSendMessage(record);
        if (trace_ != nullptr) {
            const auto header = copyRecord<WireHeader>(record, copyRecord<uint16_t>(record));
            trace_->call(false, "sendMessage " + messageName(header.id, header.net), describeMessage(record));
        }
        const uint32_t answer = onMessage(record);
        if (trace_ != nullptr) trace_->answer(std::to_string(answer));
        return answer;
    } catch (...) {
        fail("sendMessage");
        return 0;
    }
}

int32_t HostEndpoint::hostGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    try {
        if (value == nullptr) {
            warn("getValue(" + cellName(table, row, column) + ") with a null ValueRecord");
            return 0;
        }
        if (tape_ != nullptr) tape_->recordGetValue(table, row, column, *value);
        if (trace_ != nullptr) {
            trace_->call(false, "getValue(" + cellName(table, row, column) + ")", describeValueRecord(*value, false));
        }
        const int32_t answer = onGetValue(table, row, column, value);
        if (trace_ != nullptr) trace_->answer(std::to_string(answer), describeValueRecord(*value, true));
        return answer;
    } catch (...) {
        fail("getValue");
        return 0;
    }
}

int32_t HostEndpoint::hostSetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    try {
        if (value == nullptr) {
            warn("setValue(" + cellName(table, row, column) + ") with a null ValueRecord");
            return 0;
        }
        if (tape_ != nullptr) tape_->recordSetValue(table, row, column, *value);
        if (trace_ != nullptr) {
            trace_->call(false, "setValue(" + cellName(table, row, column) + ")", describeValueRecord(*value, true));
        }
        const int32_t answer = onSetValue(table, row, column, value);
        if (trace_ != nullptr) trace_->answer(std::to_string(answer));
        return answer;
    } catch (...) {
        fail("setValue");
        return 0;
    }
}

// --- messages and requests -------------------------------------------------

uint32_t HostEndpoint::onMessage(const void* record) {
    const uint16_t size = copyRecord<uint16_t>(record);
    const auto header = copyRecord<WireHeader>(record, size);
    if (size < sizeof(WireHeader)) {
        warn("sendMessage: a record of " + std::to_string(size) + " bytes, shorter than a header");
        return 0;
    }
    if (header.net == NOTIFIER_NET) return onNotifier(record, size);
    if (header.net != 0) {
        warn("sendMessage: request " + std::to_string(header.id) + " for net " + std::to_string(header.net) +
             ", which no plugin here answers");
        return 0;
    }
    if (header.id == REQ_COLUMN_REGISTER) return onColumnRegister(record, size);
    if (size < sizeof(WireMessage)) {
        warn("sendMessage: request " + std::to_string(header.id) + " in " + std::to_string(size) +
             " bytes carries no parameters");
        return 0;
    }
    return onRequest(header.id, copyRecord<WireMessage>(record).p1);
}

uint32_t HostEndpoint::onNotifier(const void* record, uint16_t size) {
    const auto header = copyRecord<WireHeader>(record);
    if (header.id != NOTIFY_SHOW || size < sizeof(WireNotifyPopup)) {
        warn("the notifier does not know message " + std::to_string(header.id) + " of " + std::to_string(size) +
             " bytes");
        return 0;
    }
    const auto popup = copyRecord<WireNotifyPopup>(record);
    PopupShown shown;
    shown.text = pluginText(popup.text, "popup text");
    shown.icon = popup.icon;
    shown.timeout = popup.timeout;
    shown.style = popup.style;
    events_.popupShown(shown);
    return 1;
}

uint32_t HostEndpoint::onRequest(uint32_t id, uint32_t p1) {
    switch (id) {
        case REQ_CONTACT_COUNT:
            return static_cast<uint32_t>(model_.tables.contactCount());
        case REQ_BUTTON_GROUP:
            return BUTTON_GROUP;
        case REQ_INFO_BOX:
            events_.infoBoxShown(pluginText(p1, "information box text"));
            return 1;
        case REQ_MESSAGE_NEW:
            return onMessageNew(p1);
        case REQ_MESSAGE_QUEUE:
            return onMessageQueue(p1);
        case REQ_ACTION_ADD:
            return onActionAdd(p1);
        case REQ_ICON_REGISTER:
            return onIconRegister(p1);
        case REQ_ACTION_SET_STATUS:
            return onActionSetStatus(p1);
        case REQ_ACTION_GET_VALUE:
            return onActionGetValue(p1);
        default:
            warn("sendMessage: unknown request " + std::to_string(id));
            return 0;
    }
}

uint32_t HostEndpoint::onColumnRegister(const void* record, uint16_t size) {
    if (size < sizeof(WireColumnRegister)) {
        warn("REQ_COLUMN_REGISTER: " + std::to_string(size) + " bytes instead of 39");
        return 0;
    }
    const auto registration = copyRecord<WireColumnRegister>(record);
    if (registration.table != CONFIG_TABLE && registration.table != CONTACT_TABLE) {
        warn("REQ_COLUMN_REGISTER: column " + std::to_string(registration.column) + " for unknown table " +
             std::to_string(registration.table));
        return 0;
    }
    if (registration.valueType != VALUE_INT && registration.valueType != VALUE_TEXT) {
        warn("REQ_COLUMN_REGISTER: column " + std::to_string(registration.column) + " of unknown value type " +
             std::to_string(registration.valueType));
        return 0;
    }
    ColumnInfo column;
    column.table = registration.table;
    column.id = registration.column;
    if (registration.valueType == VALUE_TEXT) {
        column.kind = ValueKind::Text;
        column.defaultText = pluginText(registration.defaultValue, "column default");
    } else {
        column.kind = ValueKind::Int;
        column.defaultInt = static_cast<int32_t>(registration.defaultValue);
    }
    model_.columns.registerColumn(column);
    return 1;
}

uint32_t HostEndpoint::onMessageNew(uint32_t p1) {
    if (p1 == 0) {
        warn("REQ_MESSAGE_NEW without a ChatMessage");
        return 0;
    }
    const uint16_t size = copyRecord<uint16_t>(addressOf(p1));
    if (size != sizeof(WireChatMessage)) {
        warn("REQ_MESSAGE_NEW: a ChatMessage of " + std::to_string(size) + " bytes instead of 58");
        if (size < sizeof(WireChatMessage)) return 0;
    }
    const auto chat = copyRecord<WireChatMessage>(addressOf(p1));
    pluginText(chat.reservedTextA, "ChatMessage reservedTextA");  // checked for null only
    pluginText(chat.reservedTextB, "ChatMessage reservedTextB");
    OutgoingMessage message;
    message.net = chat.net;
    message.type = chat.type;
    message.flags = chat.flags;
    message.recipient = pluginText(chat.recipient, "ChatMessage recipient");
    message.body = pluginText(chat.body, "ChatMessage body");
    const uint32_t number = model_.outbox.add(std::move(message));
    events_.messageCreated(*model_.outbox.find(number));
    return number;
}

uint32_t HostEndpoint::onMessageQueue(uint32_t p1) {
    if (p1 == 0) {
        warn("REQ_MESSAGE_QUEUE without a record");
        return 0;
    }
    const auto queued = copyRecord<WireMessage>(addressOf(p1));
    if (!model_.outbox.queue(queued.p1)) {
        warn("REQ_MESSAGE_QUEUE: no message numbered " + std::to_string(queued.p1));
        return 0;
    }
    events_.messageQueued(*model_.outbox.find(queued.p1));
    return 1;
}

uint32_t HostEndpoint::onActionAdd(uint32_t p1) {
    if (p1 == 0) {
        warn("REQ_ACTION_ADD without a UiActionRecord");
        return 0;
    }
    const uint16_t size = copyRecord<uint16_t>(addressOf(p1));
    if (size != UI_ACTION_SIZE && size != UI_ACTION_EXTENDED_SIZE) {
        warn("REQ_ACTION_ADD: a UiActionRecord of " + std::to_string(size) + " bytes instead of 74 or 78");
        if (size < UI_ACTION_SIZE) return 0;
    }
    const auto record = copyRecord<WireUiAction>(addressOf(p1), size);
    UiElement element;
    element.id = record.action.id;
    element.parent = record.action.parent;
    element.status = record.status;
    if (record.text != 0) element.text = std::string(static_cast<const char*>(addressOf(record.text)));
    element.param = record.param;
    element.extraA = record.extraA;
    element.extraB = record.extraB;
    element.sizeA = record.sizeA;
    element.sizeB = record.sizeB;
    element.sizeC = record.sizeC;
    element.sizeD = record.sizeD;
    element.recordSize = size;
    if (!model_.ui.add(element)) {
        warn("REQ_ACTION_ADD: element " + std::to_string(element.id) + " in " + std::to_string(element.parent) +
             " added again; the new one replaces it");
    }
    return 1;
}

uint32_t HostEndpoint::onIconRegister(uint32_t p1) {
    if (p1 == 0) {
        warn("REQ_ICON_REGISTER without a record");
        return 0;
    }
    const uint16_t size = copyRecord<uint16_t>(addressOf(p1));
    if (size != sizeof(WireIconRegister)) {
        warn("REQ_ICON_REGISTER: a record of " + std::to_string(size) + " bytes instead of 36");
        if (size < sizeof(WireIconRegister)) return 0;
    }
    const auto record = copyRecord<WireIconRegister>(addressOf(p1));
    if (record.module != wordOf(module_)) {
        warn("REQ_ICON_REGISTER: icon " + std::to_string(record.iconId) + " names a module that is not the plugin's");
    }
    RegisteredIcon icon{record.iconId, record.type, record.options, record.module, record.resource, std::nullopt};
    // The host loads the group from the module it was told; only the
    // plugin's own handle is known to be a module.
    if (module_ != nullptr && record.module == wordOf(module_)) {
        icon.loaded = loadIconGroup(module_, record.resource);
        if (icon.loaded) {
            const std::string what = "REQ_ICON_REGISTER: icon " + std::to_string(record.iconId) + ", icon group " +
                                     std::to_string(record.resource) + ": ";
            if (!icon.loaded->failure.empty()) warn(what + icon.loaded->failure);
            for (const IconImage& image : icon.loaded->images) {
                if (!image.failure.empty()) warn(what + describeIconImage(image));
            }
        }
    }
    model_.ui.registerIcon(icon);
    return record.iconId;
}

uint32_t HostEndpoint::onActionSetStatus(uint32_t p1) {
    if (p1 == 0) {
        warn("REQ_ACTION_SET_STATUS without a UiActionRecord");
        return 0;
    }
    const auto record = copyRecord<WireUiAction>(addressOf(p1), UI_ACTION_SIZE);
    UiElement* element = model_.ui.find(record.action.id, record.action.parent);
    if (element == nullptr) {
        warn("REQ_ACTION_SET_STATUS: no element " + std::to_string(record.action.id) + " in " +
             std::to_string(record.action.parent));
        return 0;
    }
    if ((record.fieldMask & SET_STATUS_FIELD) == 0) return 1;  // nothing to change
    element->status = (element->status & ~record.statusMask) | (record.status & record.statusMask);
    return 1;
}

uint32_t HostEndpoint::onActionGetValue(uint32_t p1) {
    if (p1 == 0) {
        warn("REQ_ACTION_GET_VALUE without a UiActionRecord");
        return wordOf(keepAnswer(""));
    }
    const auto record = copyRecord<WireUiAction>(addressOf(p1), UI_ACTION_SIZE);
    const UiElement* element = model_.ui.find(record.action.id, record.action.parent);
    std::string value;
    if (element == nullptr) {
        warn("REQ_ACTION_GET_VALUE: no element " + std::to_string(record.action.id) + " in " +
             std::to_string(record.action.parent));
    } else {
        value = controlValueText(model_, *element, record.action.contact);
    }
    if (record.text != 0 && record.textSize > 0) {  // the plugin's own buffer
        char* buffer = const_cast<char*>(static_cast<const char*>(addressOf(record.text)));
        const size_t length = value.size() < record.textSize - 1 ? value.size() : record.textSize - 1;
        std::memcpy(buffer, value.data(), length);
        buffer[length] = '\0';
        return record.text;
    }
    return wordOf(keepAnswer(std::move(value)));
}

// --- table cells -------------------------------------------------------------

bool HostEndpoint::checkCell(bool writing, uint32_t table, int32_t row, uint32_t column) {
    const char* operation = writing ? "setValue" : "getValue";
    // Row 0 of the contacts is read by every list rebuild: it exists, empty,
    // and nothing may be written there.
    const bool rowExists = model_.tables.hasRow(static_cast<uint8_t>(table), row) ||
                           (table == CONTACT_TABLE && row == 0 && !writing);
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

int32_t HostEndpoint::onGetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    const auto tableNo = static_cast<uint8_t>(table);
    const bool known = checkCell(false, table, row, column);
    // A cell of no row or of no column holds nothing: 0, or the empty text.
    const bool nothing = !known || (model_.columns.find(tableNo, column) == nullptr &&
                                    model_.tables.cell(tableNo, row, column) == nullptr);
    CellValue cell = nothing ? CellValue::ofInt(0) : model_.tables.read(model_.columns, tableNo, row, column);
    if (nothing && value->type == VALUE_TEXT) cell = CellValue::ofText("");
    switch (value->type) {
        case VALUE_INT:
            value->value = cell.kind == ValueKind::Int ? static_cast<uint32_t>(cell.number) : 0;
            return known ? 1 : 0;
        case VALUE_INT64: {
            const int64_t wide = cell.kind == ValueKind::Int ? cell.number : 0;
            value->value = static_cast<uint32_t>(wide);
            value->extra = static_cast<uint32_t>(static_cast<uint64_t>(wide) >> 32);
            return known ? 1 : 0;
        }
        case VALUE_TEXT: {
            std::string text = cell.kind == ValueKind::Int ? std::to_string(cell.number) : cell.text;
            const bool ownBuffer = value->value != 0 && value->extra != 0 && value->extra != 0xFFFFFFFFu;
            if (ownBuffer) {
                char* buffer = reinterpret_cast<char*>(static_cast<uintptr_t>(value->value));
                const size_t length = text.size() < value->extra - 1 ? text.size() : value->extra - 1;
                std::memcpy(buffer, text.data(), length);
                buffer[length] = '\0';
            } else {
                value->value = wordOf(keepAnswer(std::move(text)));
            }
            return known ? 1 : 0;
        }
        default:
            warn("getValue: unknown value type " + std::to_string(value->type));
            return 0;
    }
}

int32_t HostEndpoint::onSetValue(uint32_t table, int32_t row, uint32_t column, ValueRecord* value) {
    if (!checkCell(true, table, row, column)) return 0;
    const auto tableNo = static_cast<uint8_t>(table);
    switch (value->type) {
        case VALUE_INT:
            model_.tables.set(tableNo, row, column, CellValue::ofInt(static_cast<int32_t>(value->value)));
            return 1;
        case VALUE_TEXT:
            model_.tables.set(tableNo, row, column, CellValue::ofText(pluginText(value->value, "setValue text")));
            return 1;
        default:
            warn("setValue: value type " + std::to_string(value->type) + " is not kept");
            return 0;
    }
}

const char* HostEndpoint::keepAnswer(std::string text) {
    answers_.push_back(std::move(text));
    if (answers_.size() > KEPT_ANSWERS) answers_.pop_front();
    return answers_.back().c_str();
}

std::string HostEndpoint::pluginText(uint32_t address, const char* what) {
    if (address == 0) {
        warn(std::string(what) + " is a null pointer");
        return {};
    }
    return static_cast<const char*>(addressOf(address));
}

}  // namespace vemora::standin
