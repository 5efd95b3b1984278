#include "state_file.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <sstream>
#include <vector>

#include "file_io.h"
#include "host/tables.h"
#include "host_error.h"
#include "script_tokens.h"
#include "text_display.h"

namespace vemora::standin {

namespace {

constexpr const char* MAGIC = "vemora-host-state";
constexpr const char* VERSION = "1";

const char* tableWord(uint8_t table) { return table == CONFIG_TABLE ? "config" : "contact"; }

std::string valueWords(const CellValue& value) {
    return value.kind == ValueKind::Int ? "int " + std::to_string(value.number) : "text " + quotedText(value.text);
}

void writeRow(std::ostringstream& out, const std::string& prefix, const HostTables::Row& row) {
    std::vector<uint32_t> columns;
    for (const auto& [column, value] : row) columns.push_back(column);
    std::sort(columns.begin(), columns.end());
    for (uint32_t column : columns) out << prefix << column << ' ' << valueWords(row.at(column)) << '\n';
}

class StateParser {
public:
    StateParser(const std::string& source, HostTables& tables, ColumnCatalog& columns)
        : source_(source), tables_(tables), columns_(columns) {}

    void line(int lineNumber, std::string_view text) {
        number_ = lineNumber;
        std::string error;
        const std::optional<std::vector<Token>> tokens = tokenizeLine(text, error);
        if (!tokens) fail(error);
        if (tokens->empty()) return;
        words_ = &*tokens;
        const std::string keyword = word(0);
        if (!seenMagic_) {
            if (keyword != MAGIC || words_->size() != 2) fail("not a vemora-host state file");
            if (word(1) != VERSION) fail("state file version " + word(1) + " is not understood");
            seenMagic_ = true;
        } else if (keyword == "contacts") {
            expectWords(2);
            const int32_t count = number(1, 0);
            while (tables_.contactCount() < count) tables_.addContact();
        } else if (keyword == "column") {
            expectWords(5);
            ColumnInfo column;
            column.table = tableOf(word(1));
            column.id = static_cast<uint32_t>(number(2, 0));
            const CellValue fallback = value(3);
            column.kind = fallback.kind;
            column.defaultInt = fallback.number;
            column.defaultText = fallback.text;
            columns_.registerColumn(column);
        } else if (keyword == "config") {
            expectWords(4);
            tables_.set(CONFIG_TABLE, CONFIG_ROW, static_cast<uint32_t>(number(1, 0)), value(2));
        } else if (keyword == "contact") {
            expectWords(5);
            const int32_t row = number(1, 1);
            if (!tables_.set(CONTACT_TABLE, row, static_cast<uint32_t>(number(2, 0)), value(3))) {
                fail("contact " + std::to_string(row) + " lies beyond the number of contacts");
            }
        } else {
            fail("unknown entry \"" + keyword + "\"");
        }
    }

    void finish() {
        if (!seenMagic_) throw HostError(source_ + ": not a vemora-host state file (it is empty)");
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw HostError(source_ + ":" + std::to_string(number_) + ": " + what);
    }

    std::string word(size_t index) const { return tokenText((*words_)[index]); }

    void expectWords(size_t count) const {
        if (words_->size() != count) fail("\"" + word(0) + "\" needs " + std::to_string(count - 1) + " values");
    }

    int32_t number(size_t index, int32_t lowest) const {
        const std::string text = word(index);
        int32_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || text.empty() || value < lowest) {
            fail("\"" + text + "\" is not a valid number here");
        }
        return value;
    }

    uint8_t tableOf(const std::string& name) const {
        if (name == "config") return CONFIG_TABLE;
        if (name == "contact") return CONTACT_TABLE;
        fail("unknown table \"" + name + "\"");
    }

    CellValue value(size_t index) const {
        const std::string kind = word(index);
        if (kind == "int") return CellValue::ofInt(number(index + 1, INT32_MIN));
        if (kind != "text" || !(*words_)[index + 1].quoted) fail("a value is int NUMBER or text \"TEXT\"");
        std::string error;
        std::optional<std::string> text = tokenCp1250((*words_)[index + 1], error);
        if (!text) fail(error);
        return CellValue::ofText(*text);
    }

    const std::string& source_;
    HostTables& tables_;
    ColumnCatalog& columns_;
    const std::vector<Token>* words_ = nullptr;
    int number_ = 0;
    bool seenMagic_ = false;
};

}  // namespace

std::string serializeState(const HostModel& model) {
    std::ostringstream out;
    out << "# vemora-host state: the host's tables, kept between runs\n";
    out << MAGIC << ' ' << VERSION << '\n';
    out << "contacts " << model.tables.contactCount() << '\n';
    for (const ColumnInfo& column : model.columns.registeredColumns()) {
        const CellValue fallback = column.kind == ValueKind::Int ? CellValue::ofInt(column.defaultInt)
                                                                 : CellValue::ofText(column.defaultText);
        out << "column " << tableWord(column.table) << ' ' << column.id << ' ' << valueWords(fallback) << '\n';
    }
    writeRow(out, "config ", model.tables.configRow());
    for (int32_t row = 1; row <= model.tables.contactCount(); ++row) {
        writeRow(out, "contact " + std::to_string(row) + " ", model.tables.contactRow(row));
    }
    return out.str();
}

void parseState(std::string_view content, const std::string& sourceName, HostModel& model) {
    HostTables tables;
    ColumnCatalog columns;
    StateParser parser(sourceName, tables, columns);
    int number = 0;
    size_t start = 0;
    while (start < content.size()) {
        const size_t end = content.find('\n', start);
        parser.line(++number, content.substr(start, end == std::string_view::npos ? content.npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    parser.finish();
    model.tables = std::move(tables);
    model.columns = std::move(columns);
}

bool loadState(const std::string& path, HostModel& model) {
    const std::optional<std::string> content = readWholeFile(path);
    if (!content) return false;
    parseState(*content, path, model);
    return true;
}

void saveState(const std::string& path, const HostModel& model) { replaceWholeFile(path, serializeState(model)); }

}  // namespace vemora::standin
