// The values the host shows in a plugin's controls. A radio list or text
// field is bound to a column (its param): in the settings row when it sits on
// a settings page, in the contact's row when it sits in a contact's group.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host_model.h"

namespace vemora::standin {

struct BoundCell {
    uint8_t table = 0;
    int32_t row = 0;
    uint32_t column = 0;
};

bool isBoundControl(const UiElement& element);
// Whether the element lies (through its groups) in the contact information window.
bool isInContactGroup(const UiModel& ui, const UiElement& element);
// The cell the control shows for this contact (ignored on a settings page);
// nullopt for an element bound to nothing or a contact that does not exist.
std::optional<BoundCell> boundCell(const HostModel& model, const UiElement& element, int32_t contact);

// The control's current value as text, code page 1250: a radio list answers
// its option's number in decimal, a text field its text, anything else its caption.
std::string controlValueText(const HostModel& model, const UiElement& element, int32_t contact);

// One option of a radio list: the caption and, after byte 0x03, "#" and an
// icon id in upper-case hexadecimal.
struct RadioOption {
    std::string caption;  // code page 1250
    std::optional<uint32_t> icon;
};
std::vector<RadioOption> radioOptions(std::string_view text);

}  // namespace vemora::standin
