// The tests' own copy of the protocol's numbers, written as literals. The
// plugin, this recording host and the stand-in would all agree on a number
// they took from one shared header even when that number is wrong; the tests
// name every id, size and flag from here instead, so a slip in the plugin's
// headers fails them.
#pragma once

#include <cstdint>

namespace vemora::testing::wire {

// Messages to IMessageProc.
inline constexpr uint32_t MSG_INIT = 20001;
inline constexpr uint32_t MSG_DEINIT = 20002;
inline constexpr uint32_t MSG_QUERY_20020 = 20020;
inline constexpr uint32_t MSG_SETCOLUMNS = 21001;
inline constexpr uint32_t MSG_UI_PREPARE = 22000;
inline constexpr uint32_t MSG_START = 22100;
inline constexpr uint32_t MSG_UI_ACTION = 22200;
inline constexpr uint32_t MSG_INFO_NET = 30010;
inline constexpr uint32_t MSG_INFO_TYPE = 30011;
inline constexpr uint32_t MSG_INFO_VERSION = 30012;
inline constexpr uint32_t MSG_INFO_SIGNATURE = 30013;
inline constexpr uint32_t MSG_INFO_NAME = 30016;
inline constexpr uint32_t MSG_INFO_30017 = 30017;

// Requests to the host, and the notifier's message.
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
inline constexpr uint32_t NOTIFY_SHOW = 774201;
inline constexpr uint32_t NOTIFIER_NET = 774;
inline constexpr uint32_t TYPE_QUERY = 0xFFFFFFFFu;

// Tables and columns.
inline constexpr uint8_t CONFIG_TABLE = 0;
inline constexpr uint8_t CONTACT_TABLE = 1;
inline constexpr uint32_t CNT_UID = 0;
inline constexpr uint32_t CNT_NET = 1;
inline constexpr uint32_t CNT_FIRST_NAME = 6;
inline constexpr uint32_t CNT_SURNAME = 7;
inline constexpr uint32_t CNT_DISPLAY_NAME = 8;
inline constexpr uint32_t CNT_NICK = 17;
inline constexpr uint32_t CNT_BIRTH_DATE = 19;
inline constexpr uint32_t CNT_GENDER_CODE = 20;
inline constexpr uint32_t CFG_INFO_MODE = 139014;
inline constexpr uint32_t CFG_WISH_TEXT = 139019;
inline constexpr uint32_t CNT_WISH_TEXT = 139013;
inline constexpr uint32_t CNT_WISH_MODE = 139015;
inline constexpr uint32_t CNT_AGE = 139033;
inline constexpr uint32_t CFG_NOTIFY_HIDE = 139034;
inline constexpr uint16_t VALUE_INT = 0;
inline constexpr uint16_t VALUE_TEXT = 1;

// UI elements and events.
inline constexpr int32_t ACT_SEND_WISHES_BUTTON = 139027;
inline constexpr int32_t ACT_BIRTHDAYS_BUTTON = 139034;
inline constexpr int32_t ACT_CONTACT_WISH_MODE = 139032;
inline constexpr int32_t ACT_CONTACT_WISH_TEXT = 139031;
inline constexpr int32_t ACT_CONTACT_GROUP = 139020;
inline constexpr uint32_t ACTION_PRESSED = 1;
inline constexpr uint32_t ACTION_REFRESH = 10;

// Record sizes.
inline constexpr uint16_t HEADER_SIZE = 22;
inline constexpr uint16_t MESSAGE_RECORD_SIZE = 30;

}  // namespace vemora::testing::wire
