// The request that declares one settings column in the host's tables. It is a
// message of its own: the header, then the column's description.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/records.h"
#include "host/request_ids.h"

namespace vemora {

#pragma pack(push, 1)

struct ColumnRegisterRecord {
    MessageHeader header;   // REQ_COLUMN_REGISTER to the host itself
    uint8_t table;          // CONFIG_TABLE or CONTACT_TABLE: one byte, not a word
    uint32_t column;        // the column id
    uint32_t valueType;     // VALUE_INT or VALUE_TEXT
    uint32_t defaultValue;  // text columns: address of the default text; int columns: 0
    uint32_t name;          // always 0 from the plugin

    ColumnRegisterRecord(uint8_t table, uint32_t column, uint32_t valueType, uint32_t defaultValue, uint32_t name)
        : header(REQ_COLUMN_REGISTER),
          table(table),
          column(column),
          valueType(valueType),
          defaultValue(defaultValue),
          name(name) {
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
