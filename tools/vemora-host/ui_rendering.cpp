#include "ui_rendering.h"

#include <cstdio>
#include <vector>

#include "control_values.h"
#include "text_display.h"
#include "wire/ids.h"

namespace vemora::standin {

namespace {

constexpr const char* SEPARATOR = "----------------------------------------";
constexpr char FIELD_CAPTION_MARK = '\x01';

std::string shown(const std::optional<std::string>& text) { return text ? displayText(*text, false) : ""; }

std::string statusNotes(const UiElement& element) {
    std::string notes;
    if (element.kind() == ElementKind::Button && (element.status & wire::STATUS_INACTIVE) != 0) notes += " (inactive)";
    if (element.kind() != ElementKind::Button && (element.status & wire::STATUS_DISABLED) != 0) notes += " (disabled)";
    return notes;
}

std::string radioLine(const HostModel& model, const UiElement& radio, int32_t contact) {
    const std::string value = controlValueText(model, radio, contact);
    std::string line;
    int index = 0;
    for (const RadioOption& option : radioOptions(radio.text.value_or(""))) {
        if (!line.empty()) line += "   ";
        line += value == std::to_string(index) ? "(•) " : "( ) ";
        line += displayText(option.caption, false);
        if (option.icon) line += " [icon " + std::to_string(*option.icon) + "]";
        ++index;
    }
    return line + statusNotes(radio);
}

std::string fieldLine(const HostModel& model, const UiElement& field, int32_t contact) {
    const std::string caption = displayText(fieldCaption(field), false);
    const std::string value = "[" + displayText(controlValueText(model, field, contact), false) + "]";
    return (caption.empty() ? value : caption + " " + value) + statusNotes(field);
}

void layoutElements(const HostModel& model, int32_t parent, int32_t contact, const std::string& indent,
                    std::string& out, int depth);

// One element's lines; a label's line is finished by the element after it.
void layoutElement(const HostModel& model, const UiElement& element, int32_t contact, const std::string& indent,
                   std::string& pendingLabel, std::string& out, int depth) {
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
        case ElementKind::Title:
            emit("== " + shown(element.text) + " ==");
            return;
        case ElementKind::TextLine:
            emit(shown(element.text));
            return;
        case ElementKind::TextBlock: {
            const std::string text = element.text ? displayText(*element.text) : "";
            size_t start = 0;
            while (true) {
                const size_t end = text.find('\n', start);
                emit(text.substr(start, end == std::string::npos ? text.npos : end - start));
                if (end == std::string::npos) break;
                start = end + 1;
            }
            return;
        }
        case ElementKind::Separator:
            emit(SEPARATOR);
            return;
        case ElementKind::RadioList:
            emit(radioLine(model, element, contact));
            return;
        case ElementKind::TextField:
            emit(fieldLine(model, element, contact));
            return;
        case ElementKind::Button:
            emit("[" + shown(element.text) + "]" + statusNotes(element));
            return;
        case ElementKind::Group:
            emit("[group " + quotedText(element.text.value_or("")) + ", id " + std::to_string(element.id) + "]");
            if (depth < 8) layoutElements(model, element.id, contact, indent + "  ", out, depth + 1);
            return;
        case ElementKind::Other:
            break;
    }
    char status[16];
    std::snprintf(status, sizeof status, "0x%X", element.status);
    emit("<element " + std::to_string(element.id) + ", status " + status + "> " +
         (element.text ? quotedText(*element.text) : "(no text)"));
}

void layoutElements(const HostModel& model, int32_t parent, int32_t contact, const std::string& indent,
                    std::string& out, int depth) {
    std::string pendingLabel;
    for (const UiElement* element : model.ui.children(parent)) {
        if (element->id == parent) continue;  // a group cannot hold itself
        layoutElement(model, *element, contact, indent, pendingLabel, out, depth);
    }
    if (!pendingLabel.empty()) {
        while (pendingLabel.back() == ' ') pendingLabel.pop_back();
        out += indent + pendingLabel + "\n";
    }
}

std::string groupHeading(const char* where, const UiElement& group) {
    return "[" + std::string(where) + " " + quotedText(group.text.value_or("")) + ", id " + std::to_string(group.id) +
           ", icon " + std::to_string(group.param) + "]\n";
}

}  // namespace

std::string fieldCaption(const UiElement& field) {
    const std::string text = field.text.value_or("");
    return !text.empty() && text[0] == FIELD_CAPTION_MARK ? text.substr(1) : text;
}

std::string layoutSettingsPage(const HostModel& model) {
    std::string out;
    for (const UiElement* page : model.ui.children(wire::UI_PARENT_SETTINGS)) {
        if (page->kind() != ElementKind::Group) continue;
        out += groupHeading("settings page", *page);
        layoutElements(model, page->id, -2, "  ", out, 0);
    }
    return out.empty() ? "(the plugin has added no settings page)\n" : out;
}

std::string layoutContactGroup(const HostModel& model, int32_t contact) {
    std::string out;
    for (const UiElement* group : model.ui.children(wire::UI_PARENT_CONTACT_INFO)) {
        if (group->kind() != ElementKind::Group) continue;
        out += groupHeading("contact group", *group);
        layoutElements(model, group->id, contact, "  ", out, 0);
    }
    return out.empty() ? "(the plugin has added no contact group)\n" : out;
}

std::string layoutButtons(const HostModel& model) {
    std::string out;
    for (const UiElement* button : model.ui.children(static_cast<int32_t>(BUTTON_GROUP))) {
        out += "  [" + shown(button->text) + "] id " + std::to_string(button->id) + ", icon " +
               std::to_string(button->param) + statusNotes(*button) + "\n";
    }
    return out.empty() ? "(the plugin has added no buttons)\n" : "[plugin buttons, group " +
                                                                     std::to_string(BUTTON_GROUP) + "]\n" + out;
}

}  // namespace vemora::standin
