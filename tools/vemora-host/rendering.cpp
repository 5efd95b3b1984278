#include "rendering.h"

#include <cstdio>
#include <cstring>

#include "text.h"

namespace vemora::standin {

namespace {

constexpr const char* SEPARATOR = "----------------------------------------";
// A text field's caption may open with this byte.
constexpr char FIELD_CAPTION_MARK = '\x01';

std::string shown(const std::optional<std::string>& text) { return text ? displayText(*text, false) : ""; }

std::string statusNotes(const UiElement& element) {
    const bool button = element.kind() == ElementKind::Button;
    if (button && (element.status & wire::STATUS_INACTIVE) != 0) return " (inactive)";
    if (!button && (element.status & wire::STATUS_DISABLED) != 0) return " (disabled)";
    return "";
}

std::string radioLine(const HostModel& model, const UiElement& radio, int32_t contact) {
    const std::string value = model.controlValue(radio, contact);
    std::string line;
    int index = 0;
    for (const RadioOption& option : radioOptions(radio.text.value_or(""))) {
        if (!line.empty()) line += "   ";
        line += value == std::to_string(index++) ? "(•) " : "( ) ";
        line += displayText(option.caption, false);
        if (option.icon) line += " [icon " + std::to_string(*option.icon) + "]";
    }
    return line + statusNotes(radio);
}

std::string fieldLine(const HostModel& model, const UiElement& field, int32_t contact) {
    std::string caption = field.text.value_or("");
    if (!caption.empty() && caption[0] == FIELD_CAPTION_MARK) caption.erase(0, 1);
    const std::string value = "[" + displayText(model.controlValue(field, contact), false) + "]";
    return (caption.empty() ? value : displayText(caption, false) + " " + value) + statusNotes(field);
}

// Lays out the elements of one group; a label's line is finished by the
// element after it.
class PageLayout {
public:
    PageLayout(const HostModel& model, int32_t contact) : model_(model), contact_(contact) {}

    void group(int32_t parent, const std::string& indent, int depth) {
        std::string pendingLabel;
        for (const UiElement* element : model_.ui.children(parent)) {
            if (element->id != parent) element_(*element, indent, pendingLabel, depth);  // a group cannot hold itself
        }
        if (!pendingLabel.empty()) {
            while (pendingLabel.back() == ' ') pendingLabel.pop_back();
            out += indent + pendingLabel + "\n";
        }
    }

    std::string out;

private:
    void element_(const UiElement& element, const std::string& indent, std::string& pendingLabel, int depth) {
        auto emit = [&](const std::string& line) {
            std::string full = indent + pendingLabel + line;
            while (!full.empty() && full.back() == ' ') full.pop_back();
            out += full + "\n";
            pendingLabel.clear();
        };
        switch (element.kind()) {
            case ElementKind::Label:
                if (!pendingLabel.empty()) emit("");
                pendingLabel = shown(element.text) + "  ";
                return;
            case ElementKind::Title: return emit("== " + shown(element.text) + " ==");
            case ElementKind::TextLine: return emit(shown(element.text));
            case ElementKind::TextBlock: {
                const std::string text = element.text.value_or("");
                for (const std::string_view line : splitLines(text)) emit(displayText(line));
                return;
            }
            case ElementKind::Separator: return emit(SEPARATOR);
            case ElementKind::RadioList: return emit(radioLine(model_, element, contact_));
            case ElementKind::TextField: return emit(fieldLine(model_, element, contact_));
            case ElementKind::Button: return emit("[" + shown(element.text) + "]" + statusNotes(element));
            case ElementKind::Group:
                emit("[group " + quotedText(element.text.value_or("")) + ", id " + std::to_string(element.id) + "]");
                if (depth < 8) group(element.id, indent + "  ", depth + 1);
                return;
            case ElementKind::Other: break;
        }
        char status[16];
        std::snprintf(status, sizeof status, "0x%X", element.status);
        emit("<element " + std::to_string(element.id) + ", status " + status + "> " +
             (element.text ? quotedText(*element.text) : "(no text)"));
    }

    const HostModel& model_;
    int32_t contact_;
};

std::string layoutGroups(const HostModel& model, int32_t parent, const char* what, int32_t contact) {
    PageLayout layout(model, contact);
    for (const UiElement* group : model.ui.children(parent)) {
        if (group->kind() != ElementKind::Group) continue;
        layout.out += "[" + std::string(what) + " " + quotedText(group->text.value_or("")) + ", id " +
                      std::to_string(group->id) + ", icon " + std::to_string(group->param) + "]\n";
        layout.group(group->id, "  ", 0);
    }
    return layout.out.empty() ? "(the plugin has added no " + std::string(what) + ")\n" : layout.out;
}

std::string fieldValue(const wire::DecodedRecord& record, const wire::Field& field) {
    const auto text = record.texts.find(field.offset);
    if (text != record.texts.end()) {
        if (!text->second) return "null";
        return hex32(record.word(field.offset)) + " " + quotedText(*text->second);
    }
    uint32_t value = 0;
    std::memcpy(&value, record.bytes.data() + field.offset, field.width < 4 ? field.width : 4);
    switch (field.show) {
        case wire::Show::Number: return std::to_string(static_cast<int32_t>(value));
        case wire::Show::Hex: return hex32(value);
        case wire::Show::Id: {
            const std::string name = wire::messageName(value, record.word(offsetof(wire::MessageHeader, net)));
            return std::to_string(static_cast<int32_t>(value)) + (name.empty() ? "" : " " + name);
        }
        case wire::Show::Action: {
            const auto action = wire::readRecord<wire::ActionRef>(record.bytes.data() + field.offset);
            return "(id " + std::to_string(action.id) + ", parent " + std::to_string(action.parent) + ", contact " +
                   std::to_string(action.contact) + ")";
        }
    }
    return {};
}

// "Layout { field=value, ... }" for every field the bytes reach, then the
// bytes in hex, 16 to a line.
std::vector<std::string> describeRecord(const wire::DecodedRecord& record) {
    std::string line = std::string(record.layout->name) + " {";
    bool first = true;
    for (const wire::Field& field : record.layout->fields) {
        if (field.offset + field.width > record.bytes.size()) continue;
        line += (first ? " " : ", ") + std::string(field.name) + "=" + fieldValue(record, field);
        first = false;
    }
    std::vector<std::string> lines{line + " }"};
    for (size_t start = 0; start < record.bytes.size(); start += 16) {
        std::string hex = "  ";
        char cell[4];
        for (size_t i = start; i < record.bytes.size() && i < start + 16; ++i) {
            std::snprintf(cell, sizeof cell, " %02x", record.bytes[i]);
            hex += cell;
        }
        lines.push_back(hex);
    }
    return lines;
}

}  // namespace

std::string layoutSettingsPage(const HostModel& model) {
    return layoutGroups(model, wire::UI_PARENT_SETTINGS, "settings page", wire::NO_CONTACT);
}

std::string layoutContactGroup(const HostModel& model, int32_t contact) {
    return layoutGroups(model, wire::UI_PARENT_CONTACT_INFO, "contact group", contact);
}

std::string layoutButtons(const HostModel& model) {
    std::string out;
    for (const UiElement* button : model.ui.children(BUTTON_GROUP)) {
        out += "  [" + shown(button->text) + "] id " + std::to_string(button->id) + ", icon " +
               std::to_string(button->param) + statusNotes(*button) + "\n";
    }
    if (out.empty()) return "(the plugin has added no buttons)\n";
    return "[plugin buttons, group " + std::to_string(BUTTON_GROUP) + "]\n" + out;
}

std::string textBlock(std::string_view cp1250) {
    std::string out;
    for (const std::string_view line : splitLines(cp1250)) {
        const std::string text = displayText(line);
        out += text.empty() ? "|\n" : "| " + text + "\n";
    }
    return out;
}

void ConsolePresenter::popupShown(const PopupShown& popup) {
    const std::string duration =
        popup.timeout == 255 ? "stays until clicked" : "hides after " + std::to_string(popup.timeout) + " s";
    out_ << "[Zanthor popup, icon " << popup.icon << ", " << duration << "]\n" << textBlock(popup.text);
}

void ConsolePresenter::infoBoxShown(const std::string& text) { out_ << "[information box]\n" << textBlock(text); }

void ConsolePresenter::messageCreated(const OutgoingMessage& message) {
    out_ << "[chat message " << message.number << " to " << displayText(message.recipient, false) << " on net "
         << message.net << "]\n"
         << textBlock(message.body);
}

void ConsolePresenter::messageQueued(const OutgoingMessage& message) {
    out_ << "[chat message " << message.number << " queued for sending]\n";
}

void ConsolePresenter::errorReported(int32_t code) { out_ << "[the plugin reported error " << code << "]\n"; }

void ConsolePresenter::warning(const std::string& text) { warnings_ << "vemora-host: warning: " << text << '\n'; }

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

std::string describeAnswer(uint32_t messageId, uint32_t answer) {
    const wire::Carriage* carriage = wire::carriageOf(messageId, wire::HOST_NET);
    if (carriage == nullptr || !carriage->answersText || answer == 0) return std::to_string(answer);
    return hex32(answer) + " " + quotedText(static_cast<const char*>(wire::addressOf(answer)));
}

std::vector<std::string> describeRequest(const wire::Request& request) {
    if (request.record.layout == nullptr) return {};
    std::vector<std::string> lines = describeRecord(request.record);
    if (request.p1Record) {
        bool first = true;
        for (const std::string& line : describeRecord(*request.p1Record)) {
            lines.push_back((first ? "p1 → " : "     ") + line);
            first = false;
        }
    }
    return lines;
}

std::vector<std::string> describeValueRecord(const wire::ValueRecord& value, bool answered) {
    wire::DecodedRecord record;
    record.layout = &wire::VALUE_RECORD_LAYOUT;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    record.bytes.assign(bytes, bytes + sizeof value);
    if (answered && value.type == wire::VALUE_TEXT) {
        std::optional<std::string>& text = record.texts[offsetof(wire::ValueRecord, value)];
        if (value.value != 0) text = static_cast<const char*>(wire::addressOf(value.value));
    }
    return describeRecord(record);
}

}  // namespace vemora::standin
