#include "host_model.h"

#include <algorithm>
#include <charconv>

#include "text.h"

namespace vemora::standin {

namespace {

struct PluginColumnName {
    uint8_t table;
    uint32_t id;
    const char* name;
};

// The plugin's columns as the protocol documents them. Knowing a name does
// not make a column exist: it is usable once the plugin has registered it.
constexpr PluginColumnName PLUGIN_COLUMNS[] = {
    {wire::CONFIG_TABLE, wire::CFG_INFO_MODE, "info-mode"},   {wire::CONFIG_TABLE, wire::CFG_WISH_TEXT, "wish-text"},
    {wire::CONFIG_TABLE, wire::CFG_NOTIFY_HIDE, "notify-hide"}, {wire::CONTACT_TABLE, wire::CNT_WISH_TEXT, "wish-text"},
    {wire::CONTACT_TABLE, wire::CNT_WISH_MODE, "wish-mode"}, {wire::CONTACT_TABLE, wire::CNT_AGE, "age"},
};

// Every (id, name) of the table, the host's own columns first.
template <class Visit>
void forEachName(uint8_t table, Visit visit) {
    if (table == wire::CONTACT_TABLE) {
        for (const ContactColumn& column : CONTACT_COLUMNS) visit(column.id, column.name);
    }
    for (const PluginColumnName& column : PLUGIN_COLUMNS)
        if (column.table == table) visit(column.id, column.name);
}

}  // namespace

ColumnCatalog::ColumnCatalog() {
    for (const ContactColumn& column : CONTACT_COLUMNS) {
        columns_[{wire::CONTACT_TABLE, column.id}] = ColumnInfo{wire::CONTACT_TABLE, column.id, column.kind, 0, {}, false};
    }
}

void ColumnCatalog::registerColumn(ColumnInfo column) {
    column.registered = true;
    ColumnInfo& stored = columns_[{column.table, column.id}];
    if (stored == column) return;
    stored = std::move(column);
    ++revision_;
}

const ColumnInfo* ColumnCatalog::find(uint8_t table, uint32_t id) const {
    const auto found = columns_.find({table, id});
    return found == columns_.end() ? nullptr : &found->second;
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
    std::optional<uint32_t> found;
    forEachName(table, [&](uint32_t id, const char* known) {
        if (name == known) found = id;
    });
    return found;
}

std::string columnName(uint8_t table, uint32_t id) {
    std::string found = std::to_string(id);
    forEachName(table, [&](uint32_t known, const char* name) {
        if (known == id) found = name;
    });
    return found;
}

std::string columnNames(uint8_t table) {
    std::string list;
    forEachName(table, [&](uint32_t, const char* name) { list += (list.empty() ? "" : ", ") + std::string(name); });
    return list;
}

const char* tableName(uint32_t table) {
    if (table == wire::CONFIG_TABLE) return "config";
    return table == wire::CONTACT_TABLE ? "contact" : "unknown";
}

int32_t HostTables::addContact() {
    contacts_.emplace_back();
    ++revision_;
    return contactCount();
}

bool HostTables::hasRow(uint8_t table, int32_t row) const {
    if (table == wire::CONFIG_TABLE) return row == wire::CONFIG_ROW;
    return table == wire::CONTACT_TABLE && row >= 1 && row <= contactCount();
}

HostTables::Row* HostTables::rowFor(uint8_t table, int32_t row) {
    if (!hasRow(table, row)) return nullptr;
    return table == wire::CONFIG_TABLE ? &config_ : &contacts_[static_cast<size_t>(row)];
}

// Where the column's cell is in the row, or would be.
HostTables::Row::iterator HostTables::place(Row& cells, uint32_t column) {
    return std::lower_bound(cells.begin(), cells.end(), column,
                            [](const auto& entry, uint32_t wanted) { return entry.first < wanted; });
}

const CellValue* HostTables::cell(uint8_t table, int32_t row, uint32_t column) const {
    Row* cells = const_cast<HostTables*>(this)->rowFor(table, row);
    if (cells == nullptr) return nullptr;
    const auto at = place(*cells, column);
    return at != cells->end() && at->first == column ? &at->second : nullptr;
}

bool HostTables::set(uint8_t table, int32_t row, uint32_t column, CellValue value) {
    Row* cells = rowFor(table, row);
    if (cells == nullptr) return false;
    const auto at = place(*cells, column);
    if (at != cells->end() && at->first == column) {
        if (at->second == value) return true;
        at->second = std::move(value);
    } else {
        cells->insert(at, {column, std::move(value)});
    }
    ++revision_;
    return true;
}

CellValue HostTables::read(const ColumnCatalog& columns, uint8_t table, int32_t row, uint32_t column) const {
    const ColumnInfo* info = columns.find(table, column);
    if (const CellValue* value = cell(table, row, column)) return *value;
    if (info == nullptr) return CellValue::ofInt(0);
    return info->kind == ValueKind::Int ? CellValue::ofInt(info->defaultInt) : CellValue::ofText(info->defaultText);
}

ElementKind UiElement::kind() const {
    if ((status & wire::STATUS_BUTTON) != 0) return ElementKind::Button;
    switch ((status >> wire::ELEMENT_KIND_SHIFT) & 0xFFu) {
        case 0: return (status & wire::STATUS_GROUP) != 0 ? ElementKind::Group : ElementKind::Other;
        case wire::ELEMENT_KIND_TEXT_BLOCK: return ElementKind::TextBlock;
        case wire::ELEMENT_KIND_TEXT_LINE:
            return (status & wire::STATUS_LABEL) != 0 ? ElementKind::Label : ElementKind::TextLine;
        case wire::ELEMENT_KIND_TEXT_FIELD: return ElementKind::TextField;
        case wire::ELEMENT_KIND_TITLE: return ElementKind::Title;
        case wire::ELEMENT_KIND_SEPARATOR: return ElementKind::Separator;
        case wire::ELEMENT_KIND_RADIO_LIST: return ElementKind::RadioList;
        default: return ElementKind::Other;
    }
}

bool UiModel::add(const UiElement& element) {
    if (UiElement* existing = find(element.id, element.parent)) {
        *existing = element;
        return false;
    }
    elements_.push_back(element);
    return true;
}

UiElement* UiModel::find(int32_t id, int32_t parent) {
    if (id == 0) return nullptr;
    for (UiElement& element : elements_)
        if (element.id == id && element.parent == parent) return &element;
    return nullptr;
}

std::vector<const UiElement*> UiModel::children(int32_t parent) const {
    std::vector<const UiElement*> found;
    for (const UiElement& element : elements_)
        if (element.parent == parent) found.push_back(&element);
    return found;
}

bool UiModel::inContactGroup(const UiElement& element) const {
    int32_t parent = element.parent;
    for (size_t depth = 0; depth <= elements_.size(); ++depth) {  // bounded: a cycle cannot hang us
        if (parent == wire::UI_PARENT_CONTACT_INFO) return true;
        const UiElement* group = nullptr;
        for (const UiElement& candidate : elements_)
            if (candidate.id == parent && candidate.kind() == ElementKind::Group) group = &candidate;
        if (group == nullptr) return false;
        parent = group->parent;
    }
    return false;
}

const UiElement* UiModel::radioListFor(uint8_t table, uint32_t column) const {
    for (const UiElement& element : elements_) {
        if (element.kind() == ElementKind::RadioList && element.param == column &&
            inContactGroup(element) == (table == wire::CONTACT_TABLE)) {
            return &element;
        }
    }
    return nullptr;
}

void UiModel::registerIcon(const RegisteredIcon& icon) {
    for (RegisteredIcon& known : icons_) {
        if (known.iconId == icon.iconId) {
            known = icon;
            return;
        }
    }
    icons_.push_back(icon);
}

std::vector<RadioOption> radioOptions(std::string_view text) {
    std::vector<RadioOption> options;
    for (const std::string_view option : splitLines(text)) {
        RadioOption parsed;
        const size_t marker = option.find('\x03');
        parsed.caption = std::string(option.substr(0, marker));
        if (marker != std::string_view::npos && marker + 1 < option.size() && option[marker + 1] == '#') {
            const std::string_view digits = option.substr(marker + 2);
            uint32_t icon = 0;
            const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), icon, 16);
            if (error == std::errc() && end == digits.data() + digits.size()) parsed.icon = icon;
        } else if (marker != std::string_view::npos) {
            parsed.caption = std::string(option);  // not an icon reference: the bytes as they are
        }
        options.push_back(std::move(parsed));
    }
    return options;
}

std::optional<int32_t> chooseOption(const std::vector<RadioOption>& options, std::string_view wantedUtf8) {
    for (size_t i = 0; i < options.size(); ++i) {
        const std::optional<std::string> caption = cp1250ToUtf8(options[i].caption);
        if (caption && sameWordIgnoringCase(*caption, wantedUtf8)) return static_cast<int32_t>(i);
    }
    int64_t number = -1;
    const auto [end, error] = std::from_chars(wantedUtf8.data(), wantedUtf8.data() + wantedUtf8.size(), number);
    if (error == std::errc() && end == wantedUtf8.data() + wantedUtf8.size() && number >= 0 &&
        number < static_cast<int64_t>(options.size())) {
        return static_cast<int32_t>(number);
    }
    return std::nullopt;
}

std::string listOptions(const std::vector<RadioOption>& options) {
    std::string list;
    for (size_t i = 0; i < options.size(); ++i) {
        list += (i == 0 ? "" : ", ") + std::to_string(i) + " " + displayText(options[i].caption, false);
    }
    return list;
}

std::string HostModel::controlValue(const UiElement& element, int32_t contact) const {
    const ElementKind kind = element.kind();
    if (kind != ElementKind::RadioList && kind != ElementKind::TextField) return element.text.value_or("");
    const bool inContact = ui.inContactGroup(element);
    if (inContact && !tables.hasRow(wire::CONTACT_TABLE, contact)) return {};
    const CellValue value = inContact ? tables.read(columns, wire::CONTACT_TABLE, contact, element.param)
                                      : tables.read(columns, wire::CONFIG_TABLE, wire::CONFIG_ROW, element.param);
    return value.kind == ValueKind::Int ? std::to_string(value.number) : value.text;
}

}  // namespace vemora::standin
