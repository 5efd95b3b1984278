#include "ui_model.h"

namespace vemora::standin {

ElementKind elementKind(uint32_t status) {
    if ((status & wire::STATUS_BUTTON) != 0) return ElementKind::Button;
    switch ((status >> wire::ELEMENT_KIND_SHIFT) & 0xFFu) {
        case 0:
            return (status & wire::STATUS_GROUP) != 0 ? ElementKind::Group : ElementKind::Other;
        case wire::ELEMENT_KIND_TEXT_BLOCK:
            return ElementKind::TextBlock;
        case wire::ELEMENT_KIND_TEXT_LINE:
            return (status & wire::STATUS_LABEL) != 0 ? ElementKind::Label : ElementKind::TextLine;
        case wire::ELEMENT_KIND_TEXT_FIELD:
            return ElementKind::TextField;
        case wire::ELEMENT_KIND_TITLE:
            return ElementKind::Title;
        case wire::ELEMENT_KIND_SEPARATOR:
            return ElementKind::Separator;
        case wire::ELEMENT_KIND_RADIO_LIST:
            return ElementKind::RadioList;
        default:
            return ElementKind::Other;
    }
}

const char* elementKindName(ElementKind kind) {
    switch (kind) {
        case ElementKind::Group: return "group";
        case ElementKind::Label: return "label";
        case ElementKind::TextLine: return "text line";
        case ElementKind::TextBlock: return "text";
        case ElementKind::Title: return "title";
        case ElementKind::Separator: return "separator";
        case ElementKind::RadioList: return "radio list";
        case ElementKind::TextField: return "text field";
        case ElementKind::Button: return "button";
        case ElementKind::Other: break;
    }
    return "element";
}

void UiModel::clear() {
    elements_.clear();
    icons_.clear();
}

bool UiModel::add(const UiElement& element) {
    if (UiElement* existing = find(element.id, element.parent)) {
        *existing = element;
        return false;
    }
    elements_.push_back(element);
    return true;
}

UiElement* UiModel::find(int32_t id, int32_t parent) {
    if (id == 0) return nullptr;
    for (UiElement& element : elements_)
        if (element.id == id && element.parent == parent) return &element;
    return nullptr;
}

const UiElement* UiModel::find(int32_t id, int32_t parent) const {
    return const_cast<UiModel*>(this)->find(id, parent);
}

std::vector<const UiElement*> UiModel::children(int32_t parent) const {
    std::vector<const UiElement*> found;
    for (const UiElement& element : elements_)
        if (element.parent == parent) found.push_back(&element);
    return found;
}

void UiModel::registerIcon(const RegisteredIcon& icon) {
    for (RegisteredIcon& known : icons_) {
        if (known.iconId == icon.iconId) {
            known = icon;
            return;
        }
    }
    icons_.push_back(icon);
}

}  // namespace vemora::standin
