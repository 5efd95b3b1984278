// The host's data tables: the settings (one row, 0) and the contacts (rows 1
// to N; row 0 is kept empty because the plugin ends its lists with 0 and so
// could never list a contact there). Cells hold an integer or a text in code
// page 1250; a cell never written reads as its column's default.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "column_catalog.h"

namespace vemora::standin {

struct CellValue {
    ValueKind kind = ValueKind::Int;
    int32_t number = 0;
    std::string text;

    static CellValue ofInt(int32_t value) { return {ValueKind::Int, value, {}}; }
    static CellValue ofText(std::string value) { return {ValueKind::Text, 0, std::move(value)}; }
    friend bool operator==(const CellValue&, const CellValue&) = default;
};

class HostTables {
public:
    // A row's written cells, by column in ascending order: one allocation a
    // row, not one a cell, which is what loading a large address book costs.
    using Row = std::vector<std::pair<uint32_t, CellValue>>;

    HostTables();

    int32_t contactCount() const { return static_cast<int32_t>(contacts_.size()) - 1; }
    // Whether a row was added or a cell took another value since markSaved().
    bool changedSinceSaved() const { return revision_ != savedRevision_; }
    void markSaved() { savedRevision_ = revision_; }

    // Room for this many contacts, for a reader that knows how many follow.
    void reserveContacts(int32_t count);
    // Appends an empty contact row and returns its number.
    int32_t addContact();
    bool hasRow(uint8_t table, int32_t row) const;

    // Null when the cell was never written (or the row does not exist).
    const CellValue* cell(uint8_t table, int32_t row, uint32_t column) const;
    // Writes an existing row's cell (the same value again is no change);
    // false when the row does not exist.
    bool set(uint8_t table, int32_t row, uint32_t column, CellValue value);

    const Row& configRow() const { return config_; }
    const Row& contactRow(int32_t row) const { return contacts_.at(static_cast<size_t>(row)); }

    // The value a read answers: the cell, else the column's default, else
    // zero or the empty text.
    CellValue read(const ColumnCatalog& columns, uint8_t table, int32_t row, uint32_t column) const;

private:
    Row* rowFor(uint8_t table, int32_t row);

    Row config_;
    std::vector<Row> contacts_;  // [0] is the empty row 0
    uint64_t revision_ = 0;
    uint64_t savedRevision_ = 0;
};

// A cell as a person reads it: the number, or the text converted to UTF-8.
std::string describeCell(const CellValue& value);

}  // namespace vemora::standin
