#include "host/host_link.h"
#include "host/ui_records.h"
#include "settings/handlers.h"
#include "settings/ui_layout.h"
#include "settings/ui_requests.h"

namespace vemora {

namespace {

void add(const UiElement& element) {
    const uint32_t parent = element.parent == PARENT_BUTTON_GROUP ? getButtonGroup() : element.parent;
    // Each of the three forms has its case. gcc also counts the way out past
    // them, for a value no element of the constant layout holds.
    switch (element.form) {  // GCOVR_EXCL_BR_LINE: no form outside the three cases exists
        case ElementForm::Plain:
            addAction(parent, element.id, element.status, element.text, element.param, element.half70,
                      element.half72, element.word66, element.word58);
            break;
        case ElementForm::Group:
            addGroup(parent, element.id, element.status, element.text, element.param);
            break;
        case ElementForm::Extended:
            addActionEx(parent, element.id, element.status, element.text, element.param, element.half70,
                        element.half72, element.word66, element.word58);
            break;
    }
}

}  // namespace

void setupUi() {
    // The icons first: the elements below name them.
    registerIcon(ICON_PLUGIN, getPluginModule(), ICON_RESOURCE_PLUGIN);
    registerIcon(ICON_BIRTHDAYS, getPluginModule(), ICON_RESOURCE_BIRTHDAYS);
    for (const UiElement& element : uiLayout()) add(element);
}

}  // namespace vemora
