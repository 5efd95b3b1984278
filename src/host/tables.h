// The host's data tables: their numbers, the host's own contact columns the
// plugin reads, the six columns the plugin registers (with what their values
// mean) and the record that registers one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/abi.h"
#include "host/host_control.h"
#include "host/messages.h"

namespace vemora {

// Table numbers are 8-bit.
inline constexpr uint8_t CONFIG_TABLE = 0;   // program-wide settings: always row CONFIG_ROW
inline constexpr uint8_t CONTACT_TABLE = 1;  // one row per contact; the row number is the contact's
inline constexpr int32_t CONFIG_ROW = 0;

// The host's own contact columns; the plugin reads them and never writes them.
inline constexpr uint32_t CNT_UID = 0;           // text: the contact's identifier on its network
inline constexpr uint32_t CNT_NET = 1;           // int: the contact's network
inline constexpr uint32_t CNT_FIRST_NAME = 6;    // text
inline constexpr uint32_t CNT_SURNAME = 7;       // text
inline constexpr uint32_t CNT_DISPLAY_NAME = 8;  // text
inline constexpr uint32_t CNT_NICK = 17;         // text
inline constexpr uint32_t CNT_BIRTH_DATE = 19;   // int: year in bits 31-16, month in 15-8, day in 7-0; 0 unset
inline constexpr uint32_t CNT_GENDER_CODE = 20;  // int: GENDER_FEMALE, GENDER_MALE, anything else unknown

inline constexpr int32_t GENDER_FEMALE = 1;
inline constexpr int32_t GENDER_MALE = 2;

// The plugin's own columns, in the order they are registered. Column ids are a
// name space apart from UI ids: 139034 is also the birthdays button.
inline constexpr uint32_t CFG_INFO_MODE = 139014;    // config int, default 0: how the button shows the notice (INFO_MODE_*)
inline constexpr uint32_t CFG_WISH_TEXT = 139019;    // config text, default "Najlepszego, itd.": the default wish template
inline constexpr uint32_t CNT_WISH_TEXT = 139013;    // contact text, default empty: the contact's own template
inline constexpr uint32_t CNT_WISH_MODE = 139015;    // contact int, default 0: which template (WISH_MODE_*)
inline constexpr uint32_t CNT_AGE = 139033;          // contact int, default 0: the age reached this year, written by the notice
inline constexpr uint32_t CFG_NOTIFY_HIDE = 139034;  // config int, default 0: when the popup goes (NOTIFY_HIDE_*)

// Values of CFG_INFO_MODE: the option's position in its radio list.
inline constexpr int32_t INFO_MODE_POPUP = 0;     // the notifier plugin's popup
inline constexpr int32_t INFO_MODE_INFO_BOX = 1;  // the host's information box

// Values of CNT_WISH_MODE; any other value sends an empty wish.
inline constexpr int32_t WISH_MODE_DEFAULT = 0;  // CFG_WISH_TEXT
inline constexpr int32_t WISH_MODE_OWN = 1;      // CNT_WISH_TEXT
inline constexpr int32_t WISH_MODE_NONE = 2;     // no wish for this contact

// Values of CFG_NOTIFY_HIDE; any other value keeps the popup's initial timeout.
inline constexpr int32_t NOTIFY_HIDE_AFTER_A_FEW_SECONDS = 0;
inline constexpr int32_t NOTIFY_HIDE_ON_CLICK = 1;

#pragma pack(push, 1)

// REQ_COLUMN_REGISTER: the request itself declares one column of the plugin's.
struct ColumnRegisterRecord {
    MessageHeader header;   // REQ_COLUMN_REGISTER to HOST_NET, type 0; size 39
    uint8_t table;          // CONFIG_TABLE or CONTACT_TABLE: one byte, not a word
    uint32_t column;        // the column id
    uint32_t valueType;     // VALUE_INT or VALUE_TEXT
    uint32_t defaultValue;  // text column: address of the static default text (never null); int column: 0
    uint32_t name;          // meaning unknown to the plugin; always sent as 0

    ColumnRegisterRecord(uint8_t table, uint32_t column, uint32_t valueType, uint32_t defaultValue)
        : header(REQ_COLUMN_REGISTER), table(table), column(column), valueType(valueType), defaultValue(defaultValue),
          name(0) {
        header.size = sizeof(ColumnRegisterRecord);
    }
};

#pragma pack(pop)

static_assert(sizeof(ColumnRegisterRecord) == 39);
static_assert(offsetof(ColumnRegisterRecord, header) == 0);
static_assert(offsetof(ColumnRegisterRecord, table) == 22);
static_assert(offsetof(ColumnRegisterRecord, column) == 23);
static_assert(offsetof(ColumnRegisterRecord, valueType) == 27);
static_assert(offsetof(ColumnRegisterRecord, defaultValue) == 31);
static_assert(offsetof(ColumnRegisterRecord, name) == 35);

}  // namespace vemora
