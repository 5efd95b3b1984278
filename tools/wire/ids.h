// The protocol's numbers as the hosts we write know them: every message,
// request, table, column, user-interface element, icon, event and flag,
// written down as literals. The plugin keeps its own description; the two
// are written independently, so a number wrong on either side shows up as a
// failing test instead of cancelling out.
#pragma once

#include <cstdint>

namespace vemora::wire {

// --- Who is who -------------------------------------------------------------

inline constexpr uint32_t HOST_NET = 0;        // requests to the host itself
inline constexpr uint32_t PLUGIN_NET = 139;    // the plugin's number; its own ids are 139000 + n
inline constexpr uint32_t PLUGIN_TYPE = 145;   // the plugin's answer to MSG_INFO_TYPE
inline constexpr uint32_t NOTIFIER_NET = 774;  // the notifier plugin, reached through the host

// --- Messages the host sends to IMessageProc, with the plugin's answer -------

inline constexpr uint32_t MSG_INIT = 20001;            // p1: the HostControl; 1
inline constexpr uint32_t MSG_DEINIT = 20002;          // 1
inline constexpr uint32_t MSG_QUERY_20020 = 20020;     // meaning unknown; 2
inline constexpr uint32_t MSG_SETCOLUMNS = 21001;      // the plugin registers its columns; 1
inline constexpr uint32_t MSG_UI_PREPARE = 22000;      // the plugin adds icons, pages and buttons; 1
inline constexpr uint32_t MSG_START = 22100;           // the host has started; 1
inline constexpr uint32_t MSG_UI_ACTION = 22200;       // p1: an ActionNotifyRecord; 0
inline constexpr uint32_t MSG_INFO_NET = 30010;        // PLUGIN_NET
inline constexpr uint32_t MSG_INFO_TYPE = 30011;       // PLUGIN_TYPE
inline constexpr uint32_t MSG_INFO_VERSION = 30012;    // address of the version text
inline constexpr uint32_t MSG_INFO_SIGNATURE = 30013;  // address of "Vem"
inline constexpr uint32_t MSG_INFO_NAME = 30016;       // address of "Vemora"
inline constexpr uint32_t MSG_INFO_30017 = 30017;      // meaning unknown; 0, no error

// The error code of setError for a message id the plugin does not handle.
inline constexpr int32_t ERROR_UNHANDLED_MESSAGE = 1;

// --- Requests the plugin sends through sendMessage ----------------------------
// (what each carries is in requests.h)

inline constexpr uint32_t REQ_MESSAGE_NEW = 100;
inline constexpr uint32_t REQ_MESSAGE_QUEUE = 101;
inline constexpr uint32_t REQ_CONTACT_COUNT = 201;
inline constexpr uint32_t REQ_COLUMN_REGISTER = 1102;
inline constexpr uint32_t REQ_ACTION_ADD = 10101;
inline constexpr uint32_t REQ_ACTION_GET_VALUE = 10106;
inline constexpr uint32_t REQ_ACTION_SET_STATUS = 10108;
inline constexpr uint32_t REQ_BUTTON_GROUP = 10119;
inline constexpr uint32_t REQ_ICON_REGISTER = 10130;
inline constexpr uint32_t REQ_INFO_BOX = 10204;
inline constexpr uint32_t NOTIFY_SHOW = 774201;  // to NOTIFIER_NET: show a popup

// The `type` word of the requests that ask the host for a number.
inline constexpr uint32_t TYPE_QUERY = 0xFFFFFFFFu;

// --- Tables and columns --------------------------------------------------------

inline constexpr uint8_t CONFIG_TABLE = 0;   // one row, CONFIG_ROW
inline constexpr uint8_t CONTACT_TABLE = 1;  // a row per contact
inline constexpr int32_t CONFIG_ROW = 0;

// The host's own contact columns.
inline constexpr uint32_t CNT_UID = 0;           // text
inline constexpr uint32_t CNT_NET = 1;           // int
inline constexpr uint32_t CNT_FIRST_NAME = 6;    // text
inline constexpr uint32_t CNT_SURNAME = 7;       // text
inline constexpr uint32_t CNT_DISPLAY_NAME = 8;  // text
inline constexpr uint32_t CNT_NICK = 17;         // text
inline constexpr uint32_t CNT_BIRTH_DATE = 19;   // int: year << 16 | month << 8 | day
inline constexpr uint32_t CNT_GENDER_CODE = 20;  // int

inline constexpr int32_t GENDER_FEMALE = 1;
inline constexpr int32_t GENDER_MALE = 2;

// The plugin's columns, as it registers them.
inline constexpr uint32_t CFG_INFO_MODE = 139014;    // int
inline constexpr uint32_t CFG_WISH_TEXT = 139019;    // text
inline constexpr uint32_t CNT_WISH_TEXT = 139013;    // text
inline constexpr uint32_t CNT_WISH_MODE = 139015;    // int
inline constexpr uint32_t CNT_AGE = 139033;          // int
inline constexpr uint32_t CFG_NOTIFY_HIDE = 139034;  // int

// What the plugin's int columns hold: the option's position in its radio list.
inline constexpr int32_t INFO_MODE_POPUP = 0;
inline constexpr int32_t INFO_MODE_INFO_BOX = 1;
inline constexpr int32_t WISH_MODE_DEFAULT = 0;
inline constexpr int32_t WISH_MODE_OWN = 1;
inline constexpr int32_t WISH_MODE_NONE = 2;
inline constexpr int32_t NOTIFY_HIDE_AFTER_A_FEW_SECONDS = 0;
inline constexpr int32_t NOTIFY_HIDE_ON_CLICK = 1;

// Cell value types, also the value types of a column.
inline constexpr uint16_t VALUE_INT = 0;
inline constexpr uint16_t VALUE_TEXT = 1;
inline constexpr uint16_t VALUE_INT64 = 3;  // low word in value, high word in extra

// The buffer sizes of text reads made without a buffer of the reader's.
inline constexpr uint32_t TEXT_READ_TEMPLATE = 0xFFFFFFFFu;
inline constexpr uint32_t TEXT_READ_VALUE = 0;

// --- The user interface -------------------------------------------------------

// The host's own parents.
inline constexpr int32_t UI_PARENT_SETTINGS = 46;
inline constexpr int32_t UI_PARENT_CONTACT_INFO = 71;

// The plugin's elements.
inline constexpr int32_t ACT_SETTINGS_GROUP = 139017;
inline constexpr int32_t ACT_CONTACT_GROUP = 139020;
inline constexpr int32_t ACT_SEND_WISHES_BUTTON = 139027;
inline constexpr int32_t ACT_CONTACT_WISH_TEXT = 139031;
inline constexpr int32_t ACT_CONTACT_WISH_MODE = 139032;
inline constexpr int32_t ACT_BIRTHDAYS_BUTTON = 139034;
inline constexpr int32_t ACT_DEFAULT_WISH_TEXT_FIELD = 0x11000000;

// An ActionRef's contact when the action concerns no contact.
inline constexpr int32_t NO_CONTACT = -2;

// Status bits. An element's kind is the status word's bits 16-23.
inline constexpr uint32_t STATUS_INACTIVE = 0x1;      // a button that cannot be used now
inline constexpr uint32_t STATUS_DISABLED = 0x2;      // a control that cannot be edited now
inline constexpr uint32_t STATUS_GROUP = 0x10;        // a group or page
inline constexpr uint32_t STATUS_LABEL = 0x40;        // a text line that captions the next control
inline constexpr uint32_t STATUS_BUTTON = 0x1000000;  // a button
inline constexpr uint32_t STATUS_ALL_BITS = 0xFFFFFFFFu;

// The kinds of element, as bits 16-23 of the status word hold them (0: a
// group, or a button by its status bit).
inline constexpr uint32_t ELEMENT_KIND_SHIFT = 16;
enum ElementKindCode : uint32_t {
    ELEMENT_KIND_TEXT_BLOCK = 0x08,
    ELEMENT_KIND_TEXT_LINE = 0x09,  // with STATUS_LABEL: a caption
    ELEMENT_KIND_TEXT_FIELD = 0x0C,
    ELEMENT_KIND_TITLE = 0x0F,
    ELEMENT_KIND_SEPARATOR = 0x10,
    ELEMENT_KIND_RADIO_LIST = 0x16,  // options split at "\n"; option n stores n
};

// Which fields of a UiActionRecord a request carries.
inline constexpr uint32_t FIELDS_ADD = 0x35F;
inline constexpr uint32_t FIELDS_STATUS = 0x1;
inline constexpr uint32_t FIELDS_VALUE = 0x40;

// Events of MSG_UI_ACTION.
inline constexpr uint32_t ACTION_PRESSED = 1;   // a button pressed, an option chosen
inline constexpr uint32_t ACTION_REFRESH = 10;  // the element is about to be shown

// Icons: ids the plugin registers, where they come from, one of the host's own.
inline constexpr uint32_t ICON_BIRTHDAYS = 139009;
inline constexpr uint32_t ICON_PLUGIN = 139030;
inline constexpr uint32_t ICON_HOST_SEND = 500;
inline constexpr uint32_t ICON_RESOURCE_PLUGIN = 100;    // the icon-group resource of ICON_PLUGIN
inline constexpr uint32_t ICON_RESOURCE_BIRTHDAYS = 2;   // the icon-group resource of ICON_BIRTHDAYS
inline constexpr uint32_t ICON_TYPE_RESOURCE = 1;
inline constexpr uint32_t ICON_OPTIONS = 1;

// --- Texts to people ----------------------------------------------------------

// The popup's timeout byte.
inline constexpr uint8_t POPUP_TIMEOUT_INITIAL = 1;
inline constexpr uint8_t POPUP_TIMEOUT_FEW_SECONDS = 5;
inline constexpr uint8_t POPUP_TIMEOUT_ON_CLICK = 255;

// A chat message's type and flags as the plugin sends them.
inline constexpr uint32_t CHAT_MESSAGE_TYPE = 1;
inline constexpr uint32_t CHAT_MESSAGE_FLAGS = 2;

}  // namespace vemora::wire
