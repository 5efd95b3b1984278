#include "host_tables.h"

#include <algorithm>

#include "text_display.h"
#include "wire/ids.h"

namespace vemora::standin {

namespace {

// Columns a contact row holds room for at once: the host's eight and a few
// of the plugin's.
constexpr size_t ROW_ROOM = 12;

template <class Cells>
auto columnPlace(Cells& cells, uint32_t column) {
    return std::lower_bound(cells.begin(), cells.end(), column,
                            [](const auto& cell, uint32_t wanted) { return cell.first < wanted; });
}

}  // namespace

HostTables::HostTables() : contacts_(1) {}

void HostTables::reserveContacts(int32_t count) { contacts_.reserve(static_cast<size_t>(count) + 1); }

int32_t HostTables::addContact() {
    contacts_.emplace_back();
    ++revision_;
    return contactCount();
}

bool HostTables::hasRow(uint8_t table, int32_t row) const {
    if (table == wire::CONFIG_TABLE) return row == wire::CONFIG_ROW;
    return table == wire::CONTACT_TABLE && row >= 1 && row <= contactCount();
}

const CellValue* HostTables::cell(uint8_t table, int32_t row, uint32_t column) const {
    if (!hasRow(table, row)) return nullptr;
    const Row& cells = table == wire::CONFIG_TABLE ? config_ : contacts_[static_cast<size_t>(row)];
    const auto it = columnPlace(cells, column);
    return it == cells.end() || it->first != column ? nullptr : &it->second;
}

bool HostTables::set(uint8_t table, int32_t row, uint32_t column, CellValue value) {
    Row* cells = rowFor(table, row);
    if (cells == nullptr) return false;
    if (cells->empty()) cells->reserve(ROW_ROOM);
    const auto it = columnPlace(*cells, column);
    if (it == cells->end() || it->first != column) {
        cells->emplace(it, column, std::move(value));
    } else if (it->second != value) {
        it->second = std::move(value);
    } else {
        return true;
    }
    ++revision_;
    return true;
}

HostTables::Row* HostTables::rowFor(uint8_t table, int32_t row) {
    if (!hasRow(table, row)) return nullptr;
    return table == wire::CONFIG_TABLE ? &config_ : &contacts_[static_cast<size_t>(row)];
}

CellValue HostTables::read(const ColumnCatalog& columns, uint8_t table, int32_t row, uint32_t column) const {
    if (const CellValue* stored = cell(table, row, column)) return *stored;
    if (const ColumnInfo* info = columns.find(table, column)) {
        return info->kind == ValueKind::Text ? CellValue::ofText(info->defaultText) : CellValue::ofInt(info->defaultInt);
    }
    return CellValue::ofInt(0);
}

std::string describeCell(const CellValue& value) {
    return value.kind == ValueKind::Int ? std::to_string(value.number) : quotedText(value.text);
}

}  // namespace vemora::standin
