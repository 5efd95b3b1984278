#include "column_catalog.h"

#include <charconv>

#include "wire/ids.h"

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
    {wire::CONTACT_TABLE, wire::CNT_UID, "uid", "CNT_UID"},
    {wire::CONTACT_TABLE, wire::CNT_NET, "net", "CNT_NET"},
    {wire::CONTACT_TABLE, wire::CNT_FIRST_NAME, "first-name", "CNT_FIRST_NAME"},
    {wire::CONTACT_TABLE, wire::CNT_SURNAME, "surname", "CNT_SURNAME"},
    {wire::CONTACT_TABLE, wire::CNT_DISPLAY_NAME, "display", "CNT_DISPLAY_NAME"},
    {wire::CONTACT_TABLE, wire::CNT_NICK, "nick", "CNT_NICK"},
    {wire::CONTACT_TABLE, wire::CNT_BIRTH_DATE, "birth-date", "CNT_BIRTH_DATE"},
    {wire::CONTACT_TABLE, wire::CNT_GENDER_CODE, "gender", "CNT_GENDER_CODE"},
    {wire::CONFIG_TABLE, wire::CFG_INFO_MODE, "info-mode", "CFG_INFO_MODE"},
    {wire::CONFIG_TABLE, wire::CFG_WISH_TEXT, "wish-text", "CFG_WISH_TEXT"},
    {wire::CONFIG_TABLE, wire::CFG_NOTIFY_HIDE, "notify-hide", "CFG_NOTIFY_HIDE"},
    {wire::CONTACT_TABLE, wire::CNT_WISH_TEXT, "wish-text", "CNT_WISH_TEXT"},
    {wire::CONTACT_TABLE, wire::CNT_WISH_MODE, "wish-mode", "CNT_WISH_MODE"},
    {wire::CONTACT_TABLE, wire::CNT_AGE, "age", "CNT_AGE"},
};

struct HostColumn {
    uint32_t id;
    ValueKind kind;
};
constexpr HostColumn HOST_COLUMNS[] = {
    {wire::CNT_UID, ValueKind::Text},          {wire::CNT_NET, ValueKind::Int},
    {wire::CNT_FIRST_NAME, ValueKind::Text},   {wire::CNT_SURNAME, ValueKind::Text},
    {wire::CNT_DISPLAY_NAME, ValueKind::Text}, {wire::CNT_NICK, ValueKind::Text},
    {wire::CNT_BIRTH_DATE, ValueKind::Int},    {wire::CNT_GENDER_CODE, ValueKind::Int},
};

}  // namespace

ColumnCatalog::ColumnCatalog() {
    for (const HostColumn& column : HOST_COLUMNS) {
        ColumnInfo info;
        info.table = wire::CONTACT_TABLE;
        info.id = column.id;
        info.kind = column.kind;
        columns_[{wire::CONTACT_TABLE, column.id}] = info;
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
