#include "birthday/birthday_list.h"
#include "birthday/operations.h"
#include "host/abi.h"
#include "host/host_link.h"
#include "host/tables.h"
#include "host/ui_records.h"
#include "settings/handlers.h"
#include "settings/ui_requests.h"

namespace vemora {

namespace {

// A button is usable only while somebody has a birthday today.
uint32_t buttonStatus(int32_t birthdaysToday) {
    return birthdaysToday == 0 ? STATUS_BUTTON | STATUS_INACTIVE : STATUS_BUTTON;
}

// Writes the whole status word, which also drops any bit the button was added with.
void refreshButton(uint32_t id, int32_t birthdaysToday) {
    const ActionRef button(static_cast<int32_t>(id), static_cast<int32_t>(getButtonGroup()));
    setActionStatus(button, buttonStatus(birthdaysToday), STATUS_ALL_BITS);
}

// Option 1 of the contact's radio list is "Własna", the contact's own template.
// Only the first character counts.
bool ownTemplateChosen(const char* value) { return value[0] == '1'; }

void onSendWishesButton(uint32_t code) {
    if (code == ACTION_REFRESH) {
        refreshButton(ACT_SEND_WISHES_BUTTON, collectTodaysBirthdays());
    } else if (code == ACTION_PRESSED) {
        // Today's list as the last refresh or notice left it.
        sendWishes();
    }
}

void onBirthdaysButton(uint32_t code) {
    const int32_t birthdaysToday = collectTodaysBirthdays();
    if (code == ACTION_REFRESH) {
        refreshButton(ACT_BIRTHDAYS_BUTTON, birthdaysToday);
    } else if (code == ACTION_PRESSED) {
        showBirthdayNotice(getConfigInt(CFG_INFO_MODE));
    }
}

// Whatever the event, the own-template field follows the radio list's value.
// The field is one element for all contacts, so it is named without a contact.
void onContactWishMode(const ActionRef& radioList) {
    const char* value = getActionValue(radioList);
    const uint32_t status = ownTemplateChosen(value) ? 0 : STATUS_ALL_BITS;
    const ActionRef field(static_cast<int32_t>(ACT_CONTACT_WISH_TEXT), static_cast<int32_t>(ACT_CONTACT_GROUP));
    setActionStatus(field, status, STATUS_DISABLED);
}

}  // namespace

void handleAction(const ActionNotifyRecord* record) {
    const auto notification = copyRecord<ActionNotifyRecord>(record);
    const ActionRef action = notification.action;
    const uint32_t code = notification.code;
    switch (static_cast<uint32_t>(action.id)) {
        case ACT_SEND_WISHES_BUTTON:
            onSendWishesButton(code);
            break;
        case ACT_CONTACT_WISH_MODE:
            onContactWishMode(action);
            break;
        case ACT_BIRTHDAYS_BUTTON:
            onBirthdaysButton(code);
            break;
        default:
            break;
    }
}

}  // namespace vemora
