// The user-interface elements and icons a plugin has added to the host. The
// host owns them; the plugin only adds them, changes their status and asks
// their values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "icon_resources.h"

namespace vemora::standin {

// How the stand-in reads an element's status word: the kind sits in bits
// 16-23 (bit 0x40 marks a label that captions the next control), groups carry
// 0x10 and buttons 0x1000000; 0x2 disables a control, 0x1 makes a button inactive.
enum class ElementKind { Group, Label, TextLine, TextBlock, Title, Separator, RadioList, TextField, Button, Other };

inline constexpr uint32_t STATUS_INACTIVE = 0x1;
inline constexpr uint32_t STATUS_DISABLED = 0x2;
inline constexpr uint32_t STATUS_GROUP = 0x10;
inline constexpr uint32_t STATUS_LABEL = 0x40;
inline constexpr uint32_t STATUS_BUTTON = 0x1000000;

ElementKind elementKind(uint32_t status);
const char* elementKindName(ElementKind kind);

// The host's own parents and the fixed group that holds plugin buttons.
inline constexpr int32_t PARENT_SETTINGS = 46;
inline constexpr int32_t PARENT_CONTACT_INFO = 71;
inline constexpr uint32_t BUTTON_GROUP = 1000;

struct UiElement {
    int32_t id = 0;
    int32_t parent = 0;
    uint32_t status = 0;
    std::optional<std::string> text;  // code page 1250; nullopt for a null pointer
    uint32_t param = 0;               // the bound column, or the icon
    uint32_t extraA = 0;
    uint32_t extraB = 0;
    uint16_t sizeA = 0, sizeB = 0, sizeC = 0, sizeD = 0;
    uint16_t recordSize = 0;

    ElementKind kind() const { return elementKind(status); }
};

struct RegisteredIcon {
    uint32_t iconId = 0;
    uint32_t type = 0;
    uint32_t options = 0;
    uint32_t module = 0;
    uint32_t resource = 0;
    // The group as the host loaded it from the plugin's module (Windows only).
    std::optional<IconGroup> loaded;
};

class UiModel {
public:
    void clear();

    // Adds an element; an element with the same non-zero id and parent is
    // replaced in place (returns false then).
    bool add(const UiElement& element);
    // Elements with id 0 cannot be named, so they are never found.
    UiElement* find(int32_t id, int32_t parent);
    const UiElement* find(int32_t id, int32_t parent) const;
    std::vector<const UiElement*> children(int32_t parent) const;
    const std::vector<UiElement>& elements() const { return elements_; }

    void registerIcon(const RegisteredIcon& icon);
    const std::vector<RegisteredIcon>& icons() const { return icons_; }

private:
    std::vector<UiElement> elements_;
    std::vector<RegisteredIcon> icons_;
};

}  // namespace vemora::standin
