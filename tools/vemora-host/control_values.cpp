#include "control_values.h"

#include <charconv>

#include "wire/ids.h"

namespace vemora::standin {

namespace {

const UiElement* groupWithId(const UiModel& ui, int32_t id) {
    for (const UiElement& element : ui.elements())
        if (element.id == id && element.kind() == ElementKind::Group) return &element;
    return nullptr;
}

}  // namespace

bool isBoundControl(const UiElement& element) {
    return element.kind() == ElementKind::RadioList || element.kind() == ElementKind::TextField;
}

bool isInContactGroup(const UiModel& ui, const UiElement& element) {
    int32_t parent = element.parent;
    for (size_t depth = 0; depth <= ui.elements().size(); ++depth) {  // bounded: a cycle cannot hang us
        if (parent == wire::UI_PARENT_CONTACT_INFO) return true;
        const UiElement* group = groupWithId(ui, parent);
        if (group == nullptr) return false;
        parent = group->parent;
    }
    return false;
}

std::optional<BoundCell> boundCell(const HostModel& model, const UiElement& element, int32_t contact) {
    if (!isBoundControl(element)) return std::nullopt;
    if (isInContactGroup(model.ui, element)) {
        if (!model.tables.hasRow(wire::CONTACT_TABLE, contact)) return std::nullopt;
        return BoundCell{wire::CONTACT_TABLE, contact, element.param};
    }
    return BoundCell{wire::CONFIG_TABLE, wire::CONFIG_ROW, element.param};
}

std::string controlValueText(const HostModel& model, const UiElement& element, int32_t contact) {
    const std::optional<BoundCell> cell = boundCell(model, element, contact);
    if (!cell) return isBoundControl(element) ? std::string() : element.text.value_or(std::string());
    const CellValue value = model.tables.read(model.columns, cell->table, cell->row, cell->column);
    return value.kind == ValueKind::Int ? std::to_string(value.number) : value.text;
}

std::vector<RadioOption> radioOptions(std::string_view text) {
    std::vector<RadioOption> options;
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        const std::string_view option = text.substr(start, end == std::string_view::npos ? text.npos : end - start);
        RadioOption parsed;
        const size_t marker = option.find('\x03');
        parsed.caption = std::string(option.substr(0, marker));
        if (marker != std::string_view::npos && marker + 1 < option.size() && option[marker + 1] == '#') {
            const std::string_view digits = option.substr(marker + 2);
            uint32_t icon = 0;
            const auto [ptr, error] = std::from_chars(digits.data(), digits.data() + digits.size(), icon, 16);
            if (error == std::errc() && ptr == digits.data() + digits.size()) parsed.icon = icon;
        } else if (marker != std::string_view::npos) {
            parsed.caption = std::string(option);  // not an icon reference: keep the bytes
        }
        options.push_back(std::move(parsed));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return options;
}

}  // namespace vemora::standin
