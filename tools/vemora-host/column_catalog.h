// The columns the host knows: its own contact columns and those a plugin has
// registered, each with its table, value kind and default, plus the names a
// user may call them by.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vemora::standin {

enum class ValueKind { Int, Text };

struct ColumnInfo {
    uint8_t table = 0;
    uint32_t id = 0;
    ValueKind kind = ValueKind::Int;
    int32_t defaultInt = 0;
    std::string defaultText;  // code page 1250
    bool registered = false;  // by a plugin; the host's own columns are not

    friend bool operator==(const ColumnInfo&, const ColumnInfo&) = default;
};

class ColumnCatalog {
public:
    ColumnCatalog();  // the host's own contact columns

    // A plugin's registration; a later one for the same column replaces it.
    void registerColumn(const ColumnInfo& column);
    // Whether a registration changed anything since markSaved().
    bool changedSinceSaved() const { return revision_ != savedRevision_; }
    void markSaved() { savedRevision_ = revision_; }
    const ColumnInfo* find(uint8_t table, uint32_t id) const;
    std::vector<ColumnInfo> registeredColumns() const;

private:
    std::map<std::pair<uint8_t, uint32_t>, ColumnInfo> columns_;
    uint64_t revision_ = 0;
    uint64_t savedRevision_ = 0;
};

// The user's names for columns: a number, the constant's name (CNT_NICK,
// CFG_INFO_MODE) or a short name (nick, info-mode). Names are per table:
// "wish-text" is CFG_WISH_TEXT in the settings and CNT_WISH_TEXT for a contact.
std::optional<uint32_t> columnIdByName(uint8_t table, std::string_view name);
// The short name, or the number as text when the column has none.
std::string columnName(uint8_t table, uint32_t id);
// Every short name of the table's columns, for messages: "uid, net, ...".
std::string columnNames(uint8_t table);

}  // namespace vemora::standin
