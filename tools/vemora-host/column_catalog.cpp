#include "column_catalog.h"

#include <charconv>

#include "host/tables.h"

namespace vemora::standin {

namespace {

struct ColumnName {
    uint8_t table;
    uint32_t id;
    const char* shortName;
    const char* constantName;
};

// The host's own contact columns, and the plugin's columns as the protocol
// documents them. Knowing a name does not make a column exist: a plugin
// column is usable once the plugin has registered it.
constexpr ColumnName NAMES[] = {
    {CONTACT_TABLE, CNT_UID, "uid", "CNT_UID"},
    {CONTACT_TABLE, CNT_NET, "net", "CNT_NET"},
    {CONTACT_TABLE, CNT_FIRST_NAME, "first-name", "CNT_FIRST_NAME"},
    {CONTACT_TABLE, CNT_SURNAME, "surname", "CNT_SURNAME"},
    {CONTACT_TABLE, CNT_DISPLAY_NAME, "display", "CNT_DISPLAY_NAME"},
    {CONTACT_TABLE, CNT_NICK, "nick", "CNT_NICK"},
    {CONTACT_TABLE, CNT_BIRTH_DATE, "birth-date", "CNT_BIRTH_DATE"},
    {CONTACT_TABLE, CNT_GENDER_CODE, "gender", "CNT_GENDER_CODE"},
    {CONFIG_TABLE, 139014, "info-mode", "CFG_INFO_MODE"},
    {CONFIG_TABLE, 139019, "wish-text", "CFG_WISH_TEXT"},
    {CONFIG_TABLE, 139034, "notify-hide", "CFG_NOTIFY_HIDE"},
    {CONTACT_TABLE, 139013, "wish-text", "CNT_WISH_TEXT"},
    {CONTACT_TABLE, 139015, "wish-mode", "CNT_WISH_MODE"},
    {CONTACT_TABLE, 139033, "age", "CNT_AGE"},
};

struct HostColumn {
    uint32_t id;
    ValueKind kind;
};
constexpr HostColumn HOST_COLUMNS[] = {
    {CNT_UID, ValueKind::Text},          {CNT_NET, ValueKind::Int},      {CNT_FIRST_NAME, ValueKind::Text},
    {CNT_SURNAME, ValueKind::Text},      {CNT_DISPLAY_NAME, ValueKind::Text}, {CNT_NICK, ValueKind::Text},
    {CNT_BIRTH_DATE, ValueKind::Int},    {CNT_GENDER_CODE, ValueKind::Int},
};

}  // namespace

ColumnCatalog::ColumnCatalog() {
    for (const HostColumn& column : HOST_COLUMNS) {
        ColumnInfo info;
        info.table = CONTACT_TABLE;
        info.id = column.id;
        info.kind = column.kind;
        columns_[{CONTACT_TABLE, column.id}] = info;
    }
}

void ColumnCatalog::registerColumn(const ColumnInfo& column) {
    ColumnInfo info = column;
    info.registered = true;
    ColumnInfo& stored = columns_[{column.table, column.id}];
    if (stored == info) return;
    stored = info;
    ++revision_;
}

const ColumnInfo* ColumnCatalog::find(uint8_t table, uint32_t id) const {
    auto it = columns_.find({table, id});
    return it == columns_.end() ? nullptr : &it->second;
}

std::vector<ColumnInfo> ColumnCatalog::registeredColumns() const {
    std::vector<ColumnInfo> found;
    for (const auto& [key, info] : columns_)
        if (info.registered) found.push_back(info);
    return found;
}

std::optional<uint32_t> columnIdByName(uint8_t table, std::string_view name) {
    uint32_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error == std::errc() && end == name.data() + name.size() && !name.empty()) return number;
    for (const ColumnName& known : NAMES) {
        if (known.table == table && (name == known.shortName || name == known.constantName)) return known.id;
    }
    return std::nullopt;
}

std::string columnName(uint8_t table, uint32_t id) {
    for (const ColumnName& known : NAMES)
        if (known.table == table && known.id == id) return known.shortName;
    return std::to_string(id);
}

std::string columnNames(uint8_t table) {
    std::string list;
    for (const ColumnName& known : NAMES)
        if (known.table == table) list += (list.empty() ? "" : ", ") + std::string(known.shortName);
    return list;
}

}  // namespace vemora::standin
