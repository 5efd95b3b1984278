// The plugin's user interface as the host sees it: the record of every element
// add, status change and value read, the icon registration, the notification
// the host sends when an element is used, and every UI, status and icon id.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/abi.h"
#include "host/icon_resources.h"
#include "host/messages.h"

namespace vemora {

// Parents that belong to the host.
inline constexpr uint32_t UI_PARENT_CONTACT_INFO = 71;  // the contact's information window
inline constexpr uint32_t UI_PARENT_SETTINGS = 46;      // the host's settings window
// (The button group's id is asked with REQ_BUTTON_GROUP each time it is needed.)

// The plugin's own elements.
inline constexpr uint32_t ACT_CONTACT_GROUP = 139020;       // group in the contact's information window
inline constexpr uint32_t ACT_CONTACT_WISH_MODE = 139032;   // its radio list: default, own, no wishes
inline constexpr uint32_t ACT_CONTACT_WISH_TEXT = 139031;   // its text field of the contact's own template
inline constexpr uint32_t ACT_SETTINGS_GROUP = 139017;      // page in the settings window
inline constexpr uint32_t ACT_BIRTHDAYS_BUTTON = 139034;    // "Kto obchodzi urodziny?"
inline constexpr uint32_t ACT_SEND_WISHES_BUTTON = 139027;  // "Roześlij życzenia!"
// The id field of the settings page's default-template field; nothing refers to it.
inline constexpr uint32_t ACT_DEFAULT_WISH_TEXT_FIELD = 0x11000000;

// Status bits whose meaning the plugin relies on; every other bit is sent as given.
inline constexpr uint32_t STATUS_INACTIVE = 0x1;          // a button while nobody has a birthday
inline constexpr uint32_t STATUS_DISABLED = 0x2;          // the own-template field unless "Własna" is chosen
inline constexpr uint32_t STATUS_GROUP = 0x10;            // a group or page
inline constexpr uint32_t STATUS_BUTTON = 0x1000000;      // a button
inline constexpr uint32_t STATUS_ALL_BITS = 0xFFFFFFFFu;  // as a mask: the whole status word

// Whole status words of the kinds of element the plugin adds; the host tells
// the kinds apart by them, the plugin only sends them.
inline constexpr uint32_t ELEMENT_LABEL = 0x90040;           // captions the control after it
inline constexpr uint32_t ELEMENT_TEXT_LINE = 0x90000;
inline constexpr uint32_t ELEMENT_SECTION_TITLE = 0xF0000;
inline constexpr uint32_t ELEMENT_SEPARATOR = 0x100000;      // with a null text
inline constexpr uint32_t ELEMENT_RADIO_LIST = 0x16D000;     // options split at "\n"; option n stores n
inline constexpr uint32_t ELEMENT_ICON_RADIO_LIST = 0x165000;  // the same, each option followed by 0x03 and "#" icon id in hex
inline constexpr uint32_t ELEMENT_TEXT_FIELD = 0xC0000;      // its text starts with the byte 0x01
inline constexpr uint32_t ELEMENT_HELP_TEXT = 0x80000;
inline constexpr uint32_t ELEMENT_ABOUT_TEXT = 0x80100;
inline constexpr uint32_t ELEMENT_BIRTHDAYS_BUTTON = STATUS_BUTTON | 0x100000;  // the extra bit goes at the first refresh

// Which fields of a UiActionRecord a request carries.
inline constexpr uint32_t FIELDS_ADD = 0x35F;   // an add: everything the element's description holds
inline constexpr uint32_t FIELDS_STATUS = 0x1;  // a status change: status and statusMask
inline constexpr uint32_t FIELDS_VALUE = 0x40;  // a value read: text and textSize, the value buffer

// Icons: the host's icon ids under which the plugin registers its resources,
// the resources themselves, and one of the host's own icons.
inline constexpr uint32_t ICON_PLUGIN = 139030;     // a cake: both groups
inline constexpr uint32_t ICON_BIRTHDAYS = 139009;  // a gift: the birthdays button and the notifier popup
inline constexpr uint32_t ICON_HOST_SEND = 500;     // the host's own, on "Roześlij życzenia!"
inline constexpr uint32_t ICON_RESOURCE_PLUGIN = VEMORA_ICON_GROUP_CAKE;
inline constexpr uint32_t ICON_RESOURCE_BIRTHDAYS = VEMORA_ICON_GROUP_GIFT;
inline constexpr uint32_t ICON_TYPE_RESOURCE = 1;  // the icon is an icon-group resource of a module
inline constexpr uint32_t ICON_OPTIONS = 1;        // meaning unknown to the plugin; always sent as 1

// Events of an ActionNotifyRecord the plugin acts on; all others are ignored.
inline constexpr uint32_t ACTION_PRESSED = 1;   // the button was used: run its operation
inline constexpr uint32_t ACTION_REFRESH = 10;  // bring the button's status up to date

#pragma pack(push, 1)

// One element, or one request about an element (REQ_ACTION_ADD,
// REQ_ACTION_SET_STATUS, REQ_ACTION_GET_VALUE). Every byte a request does not
// name is sent as 0. Fields of unknown meaning are named by width and offset.
struct UiActionRecord {
    uint16_t size;             // 74, or 78 for the extended form
    ActionRef action;          // the element: its id (0 for the page's captions), its parent, NO_CONTACT
    uint32_t word14 = 0;       // meaning unknown to the plugin; sent as -1 in an add, else 0
    uint32_t word18 = 0;       // not written; 0
    uint32_t word22 = 0;       // meaning unknown to the plugin; always sent as 0
    uint32_t word26 = 0;       // not written; 0
    uint32_t fieldMask = 0;    // FIELDS_ADD, FIELDS_STATUS or FIELDS_VALUE
    uint32_t status = 0;       // add: the element's ELEMENT_* word and STATUS_* bits; status change: the new bits
    uint32_t statusMask = 0;   // which status bits change: STATUS_ALL_BITS in an add
    uint32_t word42 = 0;       // not written; 0
    uint32_t word46 = 0;       // meaning unknown to the plugin; always sent as 0
    uint32_t text = 0;         // add: address of the element's text, 0 for a separator; value read: the buffer, 0
    uint32_t textSize = 0;     // value read: the buffer's size, 0; otherwise not written
    uint32_t word58 = 0;       // meaning unknown to the plugin; 40 on the contact's template field, else 0
    uint32_t param = 0;        // the bound column id (controls), the icon id (groups, buttons), else 0
    uint32_t word66 = 0;       // meaning unknown to the plugin; 50 on the contact's template field, else 0
    uint16_t half70 = 0;       // meaning unknown to the plugin; per element (80, 120, 75, 70 or 50), else 0
    uint16_t half72 = 0;       // meaning unknown to the plugin; 40 on the default-template field, else 0

    // Every field not set afterwards stays 0.
    explicit UiActionRecord(const ActionRef& action, uint16_t size = 74) : size(size), action(action) {}
};

// The extended form: the same element with two more half-words.
struct UiActionRecordEx {
    UiActionRecord base;  // size 78
    uint16_t half74 = 0;  // meaning unknown to the plugin; always sent as 0
    uint16_t half76 = 0;  // meaning unknown to the plugin; always sent as 0

    explicit UiActionRecordEx(const ActionRef& action) : base(action, sizeof(UiActionRecordEx)) {}
};

// REQ_ICON_REGISTER's p1: one icon from a module's icon-group resources.
struct IconRegisterRecord {
    uint16_t size = sizeof(IconRegisterRecord);  // 36
    uint16_t half2 = 0;                           // not written; 0
    uint32_t iconId = 0;                          // the host icon id to register it under (ICON_*)
    uint32_t type = ICON_TYPE_RESOURCE;           // where the icon comes from
    uint32_t handle = 0;                          // an icon handle; always 0, the host loads the icon itself
    uint32_t options = ICON_OPTIONS;              // meaning unknown to the plugin; always sent as 1
    uint32_t module = 0;                          // the module holding the resource (getPluginModule's answer)
    uint32_t resource = 0;                        // the icon-group resource id in that module
    uint32_t word28 = 0;                          // meaning unknown to the plugin; always sent as 0
    uint32_t word32 = 0;                          // meaning unknown to the plugin; always sent as 0
};

// MSG_UI_ACTION's p1: one of the plugin's elements was used or needs a
// refresh. The host's record may be longer; the plugin reads these 18 bytes only.
struct ActionNotifyRecord {
    uint16_t size;     // the host's record size; not relied on
    ActionRef action;  // the element, as the host knows it (the contact included)
    uint32_t code;     // the event: ACTION_PRESSED, ACTION_REFRESH or another, ignored
};

#pragma pack(pop)

static_assert(sizeof(UiActionRecord) == 74);
static_assert(offsetof(UiActionRecord, size) == 0);
static_assert(offsetof(UiActionRecord, action) == 2);
static_assert(offsetof(UiActionRecord, word14) == 14);
static_assert(offsetof(UiActionRecord, word18) == 18);
static_assert(offsetof(UiActionRecord, word22) == 22);
static_assert(offsetof(UiActionRecord, word26) == 26);
static_assert(offsetof(UiActionRecord, fieldMask) == 30);
static_assert(offsetof(UiActionRecord, status) == 34);
static_assert(offsetof(UiActionRecord, statusMask) == 38);
static_assert(offsetof(UiActionRecord, word42) == 42);
static_assert(offsetof(UiActionRecord, word46) == 46);
static_assert(offsetof(UiActionRecord, text) == 50);
static_assert(offsetof(UiActionRecord, textSize) == 54);
static_assert(offsetof(UiActionRecord, word58) == 58);
static_assert(offsetof(UiActionRecord, param) == 62);
static_assert(offsetof(UiActionRecord, word66) == 66);
static_assert(offsetof(UiActionRecord, half70) == 70);
static_assert(offsetof(UiActionRecord, half72) == 72);

static_assert(sizeof(UiActionRecordEx) == 78);
static_assert(offsetof(UiActionRecordEx, base) == 0);
static_assert(offsetof(UiActionRecordEx, half74) == 74);
static_assert(offsetof(UiActionRecordEx, half76) == 76);

static_assert(sizeof(IconRegisterRecord) == 36);
static_assert(offsetof(IconRegisterRecord, size) == 0);
static_assert(offsetof(IconRegisterRecord, half2) == 2);
static_assert(offsetof(IconRegisterRecord, iconId) == 4);
static_assert(offsetof(IconRegisterRecord, type) == 8);
static_assert(offsetof(IconRegisterRecord, handle) == 12);
static_assert(offsetof(IconRegisterRecord, options) == 16);
static_assert(offsetof(IconRegisterRecord, module) == 20);
static_assert(offsetof(IconRegisterRecord, resource) == 24);
static_assert(offsetof(IconRegisterRecord, word28) == 28);
static_assert(offsetof(IconRegisterRecord, word32) == 32);

static_assert(sizeof(ActionNotifyRecord) == 18);
static_assert(offsetof(ActionNotifyRecord, size) == 0);
static_assert(offsetof(ActionNotifyRecord, action) == 2);
static_assert(offsetof(ActionNotifyRecord, code) == 14);

}  // namespace vemora
