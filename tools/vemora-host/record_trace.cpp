#include "record_trace.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "host/chat_and_popup.h"
#include "host/host_control.h"
#include "host/messages.h"
#include "text_display.h"
#include "wire_records.h"

namespace vemora::standin {

namespace {

// Records are dumped up to this many bytes; the size word may lie.
constexpr size_t MAX_DUMP = 256;

struct IdName {
    uint32_t id;
    const char* name;
};

constexpr IdName NAMES[] = {
    {MSG_INIT, "MSG_INIT"},
    {MSG_DEINIT, "MSG_DEINIT"},
    {MSG_QUERY_20020, "MSG_QUERY_20020"},
    {MSG_SETCOLUMNS, "MSG_SETCOLUMNS"},
    {MSG_UI_PREPARE, "MSG_UI_PREPARE"},
    {MSG_START, "MSG_START"},
    {MSG_UI_ACTION, "MSG_UI_ACTION"},
    {MSG_INFO_NET, "MSG_INFO_NET"},
    {MSG_INFO_TYPE, "MSG_INFO_TYPE"},
    {MSG_INFO_VERSION, "MSG_INFO_VERSION"},
    {MSG_INFO_SIGNATURE, "MSG_INFO_SIGNATURE"},
    {MSG_INFO_NAME, "MSG_INFO_NAME"},
    {MSG_INFO_30017, "MSG_INFO_30017"},
    {REQ_MESSAGE_NEW, "REQ_MESSAGE_NEW"},
    {REQ_MESSAGE_QUEUE, "REQ_MESSAGE_QUEUE"},
    {REQ_CONTACT_COUNT, "REQ_CONTACT_COUNT"},
    {REQ_COLUMN_REGISTER, "REQ_COLUMN_REGISTER"},
    {REQ_ACTION_ADD, "REQ_ACTION_ADD"},
    {REQ_ACTION_GET_VALUE, "REQ_ACTION_GET_VALUE"},
    {REQ_ACTION_SET_STATUS, "REQ_ACTION_SET_STATUS"},
    {REQ_BUTTON_GROUP, "REQ_BUTTON_GROUP"},
    {REQ_ICON_REGISTER, "REQ_ICON_REGISTER"},
    {REQ_INFO_BOX, "REQ_INFO_BOX"},
};

std::string hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string signedWord(uint32_t value) { return std::to_string(static_cast<int32_t>(value)); }

// A text pointer field: the address and, unless null, the text it points to.
std::string textField(uint32_t address) {
    if (address == 0) return "null";
    return hex32(address) + " " + quotedText(static_cast<const char*>(addressOf(address)));
}

class Fields {
public:
    explicit Fields(const char* record) { out_ << record << " {"; }
    Fields& add(const char* name, const std::string& value) {
        out_ << (first_ ? "" : ",") << ' ' << name << '=' << value;
        first_ = false;
        return *this;
    }
    Fields& number(const char* name, uint32_t value) { return add(name, signedWord(value)); }
    Fields& word(const char* name, uint32_t value) { return add(name, hex32(value)); }
    Fields& text(const char* name, uint32_t address) { return add(name, textField(address)); }
    Fields& action(const WireActionRef& ref) {
        return add("action", "(id " + std::to_string(ref.id) + ", parent " + std::to_string(ref.parent) +
                                 ", contact " + std::to_string(ref.contact) + ")");
    }
    std::string str() { return out_.str() + " }"; }

private:
    std::ostringstream out_;
    bool first_ = true;
};

void addHeader(Fields& fields, const WireHeader& header) {
    const std::string name = messageName(header.id, header.net);
    fields.number("size", header.size)
        .add("id", signedWord(header.id) + (name.empty() ? "" : " " + name))
        .number("reserved1", header.reserved1)
        .number("net", header.net)
        .number("type", header.type)
        .number("reserved2", header.reserved2);
}

void append(std::vector<std::string>& lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

size_t dumpSize(uint16_t declared, size_t fallback) {
    const size_t size = declared != 0 ? declared : fallback;
    return size < MAX_DUMP ? size : MAX_DUMP;
}

std::vector<std::string> describeUiAction(const void* at) {
    const uint16_t size = copyRecord<uint16_t>(at);
    const auto record = copyRecord<WireUiAction>(at, size);
    Fields fields("UiActionRecord");
    fields.number("size", record.size)
        .action(record.action)
        .number("word14", record.word14)
        .number("word22", record.word22)
        .word("fieldMask", record.fieldMask)
        .word("status", record.status)
        .word("statusMask", record.statusMask)
        .number("word46", record.word46)
        .text("text", record.text)
        .number("textSize", record.textSize)
        .number("extraB", record.extraB)
        .number("param", record.param)
        .number("extraA", record.extraA)
        .number("sizeA", record.sizeA)
        .number("sizeB", record.sizeB);
    if (size >= UI_ACTION_EXTENDED_SIZE) fields.number("sizeC", record.sizeC).number("sizeD", record.sizeD);
    std::vector<std::string> lines{fields.str()};
    append(lines, hexLines(at, dumpSize(size, UI_ACTION_SIZE)));
    return lines;
}

std::vector<std::string> describeChatMessage(const void* at) {
    const uint16_t size = copyRecord<uint16_t>(at);
    const auto record = copyRecord<WireChatMessage>(at, size);
    Fields fields("ChatMessage");
    fields.number("size", record.size)
        .number("reservedA", record.reservedA)
        .number("net", record.net)
        .number("type", record.type)
        .text("reservedTextA", record.reservedTextA)
        .text("recipient", record.recipient)
        .text("body", record.body)
        .text("reservedTextB", record.reservedTextB)
        .number("flags", record.flags)
        .action(record.action)
        .number("reservedB", record.reservedB)
        .number("reservedC", record.reservedC)
        .number("reservedD", record.reservedD);
    std::vector<std::string> lines{fields.str()};
    append(lines, hexLines(at, dumpSize(size, sizeof(WireChatMessage))));
    return lines;
}

std::vector<std::string> describeIconRegister(const void* at) {
    const uint16_t size = copyRecord<uint16_t>(at);
    const auto record = copyRecord<WireIconRegister>(at, size);
    Fields fields("IconRegisterRecord");
    fields.number("size", record.size)
        .number("iconId", record.iconId)
        .number("type", record.type)
        .number("handle", record.handle)
        .number("options", record.options)
        .word("module", record.module)
        .number("resource", record.resource)
        .number("word28", record.word28)
        .number("word32", record.word32);
    std::vector<std::string> lines{fields.str()};
    append(lines, hexLines(at, dumpSize(size, sizeof(WireIconRegister))));
    return lines;
}

std::vector<std::string> describeQueueRecord(const void* at) {
    const auto record = copyRecord<WireMessage>(at, copyRecord<uint16_t>(at));
    Fields fields("MessageRecord");
    addHeader(fields, record.header);
    fields.number("p1", record.p1).number("p2", record.p2);
    std::vector<std::string> lines{fields.str()};
    append(lines, hexLines(at, dumpSize(record.header.size, sizeof(WireMessage))));
    return lines;
}

std::vector<std::string> describeActionNotify(const void* at) {
    const auto record = copyRecord<WireActionNotify>(at);
    Fields fields("ActionNotifyRecord");
    fields.number("size", record.size).action(record.action).number("code", record.code);
    std::vector<std::string> lines{fields.str()};
    append(lines, hexLines(at, sizeof record));
    return lines;
}

// The record that a MessageRecord's p1 points to, for the ids that carry one.
std::vector<std::string> describePayload(uint32_t id, uint32_t p1) {
    if (p1 == 0) return {};
    const void* at = addressOf(p1);
    switch (id) {
        case REQ_ACTION_ADD:
        case REQ_ACTION_SET_STATUS:
        case REQ_ACTION_GET_VALUE:
            return describeUiAction(at);
        case REQ_MESSAGE_NEW:
            return describeChatMessage(at);
        case REQ_MESSAGE_QUEUE:
            return describeQueueRecord(at);
        case REQ_ICON_REGISTER:
            return describeIconRegister(at);
        case REQ_INFO_BOX:
            return {"text " + quotedText(static_cast<const char*>(at))};
        case MSG_UI_ACTION:
            return describeActionNotify(at);
        default:
            return {};
    }
}

}  // namespace

std::string messageName(uint32_t id, uint32_t net) {
    if (id == NOTIFY_SHOW && net == NOTIFIER_NET) return "NOTIFY_SHOW";
    for (const IdName& known : NAMES)
        if (known.id == id) return known.name;
    return "";
}

std::vector<std::string> describeMessage(const void* record) {
    const auto header = copyRecord<WireHeader>(record, copyRecord<uint16_t>(record));
    std::vector<std::string> lines;
    if (header.id == REQ_COLUMN_REGISTER && header.size >= sizeof(WireColumnRegister)) {
        const auto column = copyRecord<WireColumnRegister>(record);
        Fields fields("ColumnRegisterRecord");
        addHeader(fields, column.header);
        fields.number("table", column.table).number("column", column.column).number("valueType", column.valueType);
        if (column.valueType == 1) {
            fields.text("default", column.defaultValue);
        } else {
            fields.number("default", column.defaultValue);
        }
        fields.number("name", column.name);
        lines.push_back(fields.str());
    } else if (header.id == NOTIFY_SHOW && header.net == NOTIFIER_NET && header.size >= sizeof(WireNotifyPopup)) {
        const auto popup = copyRecord<WireNotifyPopup>(record);
        Fields fields("NotifyPopupRecord");
        addHeader(fields, popup.header);
        fields.number("gap", popup.gap)
            .text("text", popup.text)
            .word("style", popup.style)
            .number("timeout", popup.timeout)
            .number("byte30", popup.byte30)
            .number("reserved", popup.reserved)
            .number("icon", popup.icon)
            .action(popup.action)
            .number("word48", popup.word48);
        lines.push_back(fields.str());
    } else if (header.size >= sizeof(WireMessage)) {
        const auto message = copyRecord<WireMessage>(record);
        Fields fields("MessageRecord");
        addHeader(fields, message.header);
        fields.add("p1", hex32(message.p1)).add("p2", hex32(message.p2));
        lines.push_back(fields.str());
        append(lines, hexLines(record, dumpSize(header.size, sizeof(WireMessage))));
        bool first = true;
        for (const std::string& payload : describePayload(header.id, message.p1)) {
            lines.push_back((first ? "p1 → " : "     ") + payload);
            first = false;
        }
        return lines;
    } else {
        Fields fields("MessageHeader");
        addHeader(fields, header);
        lines.push_back(fields.str());
    }
    append(lines, hexLines(record, dumpSize(header.size, sizeof(WireHeader))));
    return lines;
}

std::vector<std::string> describeValueRecord(const ValueRecord& value, bool textAnswer) {
    Fields fields("ValueRecord");
    fields.number("type", value.type);
    if (value.type == VALUE_TEXT && textAnswer) {
        fields.text("value", value.value);
    } else if (value.type == VALUE_TEXT) {
        fields.word("value", value.value);
    } else {
        fields.number("value", value.value);
    }
    fields.number("extra", value.extra);
    std::vector<std::string> lines{fields.str()};
    append(lines, hexLines(&value, sizeof value));
    return lines;
}

std::vector<std::string> hexLines(const void* bytes, size_t size) {
    std::vector<std::string> lines;
    const auto* at = static_cast<const unsigned char*>(bytes);
    for (size_t start = 0; start < size; start += 16) {
        std::string line = "  ";
        char cell[4];
        for (size_t i = start; i < size && i < start + 16; ++i) {
            std::snprintf(cell, sizeof cell, " %02x", at[i]);
            line += cell;
        }
        lines.push_back(line);
    }
    return lines;
}

void BoundaryTrace::call(bool intoPlugin, const std::string& what, const std::vector<std::string>& details) {
    line(depth_, std::string(intoPlugin ? "→ " : "← ") + what);
    for (const std::string& detail : details) line(depth_ + 1, detail);
    ++depth_;
}

void BoundaryTrace::answer(const std::string& what, const std::vector<std::string>& details) {
    if (depth_ > 0) --depth_;
    line(depth_ + 1, "= " + what);
    for (const std::string& detail : details) line(depth_ + 2, detail);
}

void BoundaryTrace::line(int depth, const std::string& text) {
    out_ << std::string(static_cast<size_t>(depth) * 2, ' ') << text << '\n';
}

}  // namespace vemora::standin
