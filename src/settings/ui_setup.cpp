#include "settings/ui_setup.h"

#include "host/host_link.h"
#include "settings/icon_registration.h"
#include "settings/ui_elements.h"
#include "settings/ui_ids.h"
#include "settings/ui_layout.h"

namespace vemora {

namespace {

void add(const UiElement& element) {
    const uint32_t parent = element.parent == PARENT_BUTTON_GROUP ? getButtonGroup() : element.parent;
    switch (element.form) {
        case ElementForm::Plain:
            addAction(parent, element.id, element.status, element.text, element.param, element.sizeA,
                      element.sizeB, element.extraA, element.extraB);
            break;
        case ElementForm::Group:
            addGroup(parent, element.id, element.status, element.text, element.param);
            break;
        case ElementForm::Extended:
            addActionEx(parent, element.id, element.status, element.text, element.param, 0, 0, element.sizeA,
                        element.sizeB, element.extraA, element.extraB);
            break;
    }
}

}  // namespace

int32_t setupUi() {
    // The icons first: the elements below name them.
    registerIcon(ICON_TYPE_RESOURCE, ICON_PLUGIN, getPluginModule(), ICON_RESOURCE_PLUGIN, ICON_OPTIONS);
    registerIcon(ICON_TYPE_RESOURCE, ICON_BIRTHDAYS, getPluginModule(), ICON_RESOURCE_BIRTHDAYS, ICON_OPTIONS);
    for (const UiElement& element : uiLayout()) add(element);
    return 1;
}

}  // namespace vemora
