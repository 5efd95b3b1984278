#include "radio_choice.h"

#include "script_tokens.h"
#include "text_case.h"
#include "text_codec.h"
#include "text_display.h"
#include "wire/ids.h"

namespace vemora::standin {

const UiElement* radioListFor(const UiModel& ui, uint8_t table, uint32_t column) {
    for (const UiElement& element : ui.elements()) {
        if (element.kind() == ElementKind::RadioList && element.param == column &&
            isInContactGroup(ui, element) == (table == wire::CONTACT_TABLE)) {
            return &element;
        }
    }
    return nullptr;
}

std::optional<int32_t> chooseOption(const std::vector<RadioOption>& options, std::string_view wanted) {
    for (size_t i = 0; i < options.size(); ++i) {
        const std::optional<std::string> caption = cp1250ToUtf8(options[i].caption);
        if (caption && sameWordIgnoringCase(*caption, wanted)) return static_cast<int32_t>(i);
    }
    const std::optional<int64_t> number = commandNumber(wanted);
    if (number && *number >= 0 && *number < static_cast<int64_t>(options.size())) return static_cast<int32_t>(*number);
    return std::nullopt;
}

std::string listOptions(const std::vector<RadioOption>& options) {
    std::string list;
    for (size_t i = 0; i < options.size(); ++i) {
        list += (i == 0 ? "" : ", ") + std::to_string(i) + " " + displayText(options[i].caption, false);
    }
    return list;
}

}  // namespace vemora::standin
