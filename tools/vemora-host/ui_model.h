// The user-interface elements and icons a plugin has added to the host. The
// host owns them; the plugin only adds them, changes their status and asks
// their values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "icon_resources.h"
#include "wire/ids.h"

namespace vemora::standin {

// How the stand-in reads an element's status word: the kind sits in bits
// 16-23 (STATUS_LABEL marks a text line that captions the next control),
// groups and buttons carry their own bits.
enum class ElementKind { Group, Label, TextLine, TextBlock, Title, Separator, RadioList, TextField, Button, Other };

ElementKind elementKind(uint32_t status);
const char* elementKindName(ElementKind kind);

// The stand-in's group that holds plugin buttons (the host chooses the id).
inline constexpr uint32_t BUTTON_GROUP = 1000;

struct UiElement {
    int32_t id = 0;
    int32_t parent = 0;
    uint32_t status = 0;
    std::optional<std::string> text;  // code page 1250; nullopt for a null pointer
    uint32_t param = 0;               // the bound column, or the icon
    // Words of unknown meaning, as the add carried them.
    uint32_t word58 = 0;
    uint32_t word66 = 0;
    uint16_t half70 = 0, half72 = 0, half74 = 0, half76 = 0;
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
