// What the plugin adds to the host's user interface, as data: the contact
// group, the settings page and the two buttons, in the order they are added.
#pragma once

#include <cstdint>
#include <span>

namespace vemora {

enum class ElementForm : uint8_t {
    Plain,     // the 74-byte record
    Group,     // the 74-byte record with the group bit
    Extended,  // the 78-byte record
};

// Parent of the buttons: the host's button group, asked for at the moment of the add.
inline constexpr uint32_t PARENT_BUTTON_GROUP = 0;

struct UiElement {
    ElementForm form;
    uint32_t parent;
    uint32_t id;      // 0 for elements nothing refers to
    uint32_t status;  // for a group: bits besides the group bit
    const char* text;  // null for a separator
    uint32_t param;    // bound column, or icon of a group or button
    // Words of unknown meaning, sent at these offsets of the record as given.
    uint16_t half70;
    uint16_t half72;
    uint32_t word66;
    uint32_t word58;
};

std::span<const UiElement> uiLayout();

}  // namespace vemora
