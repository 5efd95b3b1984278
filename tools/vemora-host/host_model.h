// What the host keeps: its two tables (the settings, one row 0, and the
// contacts, rows 1 to N), the columns (its own contact columns and those the
// plugin registers), the user-interface elements and icons the plugin adds,
// and the chat messages it hands over. The tables and the registered
// columns persist in the state file; the rest lives for one run.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "wire/ids.h"

namespace vemora::standin {

enum class ValueKind { Int, Text };

struct CellValue {
    ValueKind kind = ValueKind::Int;
    int32_t number = 0;
    std::string text;  // code page 1250

    static CellValue ofInt(int32_t value) { return {ValueKind::Int, value, {}}; }
    static CellValue ofText(std::string value) { return {ValueKind::Text, 0, std::move(value)}; }
    friend bool operator==(const CellValue&, const CellValue&) = default;
};

// The host's own contact columns, in the order the stand-in shows them, with
// the names a CSV header gives them: the one list that import, show, set,
// the state file and the sample go by.
struct ContactColumn {
    uint32_t id;
    ValueKind kind;
    const char* name;     // in commands: "first-name"
    const char* csvName;  // in a CSV header: "first name"
};
inline constexpr ContactColumn CONTACT_COLUMNS[] = {
    {wire::CNT_UID, ValueKind::Text, "uid", "uid"},
    {wire::CNT_NET, ValueKind::Int, "net", "net"},
    {wire::CNT_DISPLAY_NAME, ValueKind::Text, "display", "display"},
    {wire::CNT_NICK, ValueKind::Text, "nick", "nick"},
    {wire::CNT_FIRST_NAME, ValueKind::Text, "first-name", "first name"},
    {wire::CNT_SURNAME, ValueKind::Text, "surname", "surname"},
    {wire::CNT_BIRTH_DATE, ValueKind::Int, "birth-date", "birth date"},
    {wire::CNT_GENDER_CODE, ValueKind::Int, "gender", "gender"},
};
inline constexpr size_t CONTACT_COLUMN_COUNT = std::size(CONTACT_COLUMNS);

struct ColumnInfo {
    uint8_t table = 0;
    uint32_t id = 0;
    ValueKind kind = ValueKind::Int;
    int32_t defaultInt = 0;
    std::string defaultText;  // code page 1250
    bool registered = false;  // by the plugin; the host's own columns are not

    friend bool operator==(const ColumnInfo&, const ColumnInfo&) = default;
};

class ColumnCatalog {
public:
    ColumnCatalog();  // the host's own contact columns
    // A registration; a later one of the same column replaces it.
    void registerColumn(ColumnInfo column);
    const ColumnInfo* find(uint8_t table, uint32_t id) const;
    std::vector<ColumnInfo> registeredColumns() const;
    uint64_t revision() const { return revision_; }

private:
    std::map<std::pair<uint8_t, uint32_t>, ColumnInfo> columns_;
    uint64_t revision_ = 0;
};

// A column as commands name it: its number or its short name. Names are per
// table: "wish-text" is CFG_WISH_TEXT in config, CNT_WISH_TEXT for a contact.
std::optional<uint32_t> columnIdByName(uint8_t table, std::string_view name);
// The short name, or the number when it has none.
std::string columnName(uint8_t table, uint32_t id);
// Every short name of the table's columns: "uid, net, ...".
std::string columnNames(uint8_t table);
// The settings table is "config" wherever the stand-in names it.
const char* tableName(uint32_t table);

class HostTables {
public:
    // A row's written cells, by column in ascending order.
    using Row = std::vector<std::pair<uint32_t, CellValue>>;

    HostTables() : contacts_(1) {}  // row 0 stays empty: the plugin ends its lists with 0

    int32_t contactCount() const { return static_cast<int32_t>(contacts_.size()) - 1; }
    int32_t addContact();
    bool hasRow(uint8_t table, int32_t row) const;
    // Null when the cell was never written (or the row does not exist).
    const CellValue* cell(uint8_t table, int32_t row, uint32_t column) const;
    // Writes a cell of an existing row; false when there is no such row.
    bool set(uint8_t table, int32_t row, uint32_t column, CellValue value);
    // The cell, else the column's default, else 0 or the empty text.
    CellValue read(const ColumnCatalog& columns, uint8_t table, int32_t row, uint32_t column) const;

    const Row& configRow() const { return config_; }
    const Row& contactRow(int32_t row) const { return contacts_.at(static_cast<size_t>(row)); }
    // Counts every added row and every cell that took another value.
    uint64_t revision() const { return revision_; }

private:
    Row* rowFor(uint8_t table, int32_t row);
    static Row::iterator place(Row& cells, uint32_t column);

    Row config_;
    std::vector<Row> contacts_;
    uint64_t revision_ = 0;
};

// How the stand-in reads an element's status word: the kind in bits 16-23
// (STATUS_LABEL marks a text line that captions the next control), groups
// and buttons with bits of their own.
enum class ElementKind { Group, Label, TextLine, TextBlock, Title, Separator, RadioList, TextField, Button, Other };

// The group that holds the plugin's buttons (the host chooses its id).
inline constexpr int32_t BUTTON_GROUP = 1000;

struct UiElement {
    int32_t id = 0;
    int32_t parent = 0;
    uint32_t status = 0;
    std::optional<std::string> text;  // code page 1250; nullopt for a null pointer
    uint32_t param = 0;               // the bound column, or the icon

    ElementKind kind() const;
};

struct RegisteredIcon {
    uint32_t iconId = 0;
    uint32_t type = 0;
    uint32_t options = 0;
    uint32_t resource = 0;
};

class UiModel {
public:
    void clear() { *this = UiModel(); }
    // An element with the same non-zero id and parent is replaced in place
    // (false then).
    bool add(const UiElement& element);
    // Elements with id 0 cannot be named, so they are never found.
    UiElement* find(int32_t id, int32_t parent);
    std::vector<const UiElement*> children(int32_t parent) const;
    const std::vector<UiElement>& elements() const { return elements_; }
    // Whether the element lies, through its groups, in the contact window.
    bool inContactGroup(const UiElement& element) const;
    // The radio list bound to the column: in the contact group for a contact
    // column, on the settings page for a setting; null when there is none.
    const UiElement* radioListFor(uint8_t table, uint32_t column) const;

    void registerIcon(const RegisteredIcon& icon);
    const std::vector<RegisteredIcon>& icons() const { return icons_; }

private:
    std::vector<UiElement> elements_;
    std::vector<RegisteredIcon> icons_;
};

// One option of a radio list: the caption and, after byte 0x03, "#" and an
// icon id in hexadecimal.
struct RadioOption {
    std::string caption;  // code page 1250
    std::optional<uint32_t> icon;
};
std::vector<RadioOption> radioOptions(std::string_view text);
// The option a person means: its number (from 0) or its caption in any case.
std::optional<int32_t> chooseOption(const std::vector<RadioOption>& options, std::string_view wantedUtf8);
// "0 Zanthor, 1 Okienko", as messages list them.
std::string listOptions(const std::vector<RadioOption>& options);

struct OutgoingMessage {
    uint32_t number = 0;  // what REQ_MESSAGE_NEW answered: 1, 2, 3, ...
    uint32_t net = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    std::string recipient;  // code page 1250
    std::string body;
    bool queued = false;
};

struct HostModel {
    HostTables tables;
    ColumnCatalog columns;
    UiModel ui;
    std::vector<OutgoingMessage> outbox;

    // What the state file keeps, as a count that any change moves on.
    uint64_t persistentRevision() const { return tables.revision() + columns.revision(); }

    // The value a control shows as text, code page 1250: a radio list its
    // option's number, a text field its text, from the bound column (in the
    // contact's row inside the contact group); anything else its caption.
    std::string controlValue(const UiElement& element, int32_t contact) const;
};

}  // namespace vemora::standin
