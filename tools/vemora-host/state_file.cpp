#include "state_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdint>
#include <sstream>
#include <vector>

#include "crc32.h"
#include "file_io.h"
#include "host_error.h"
#include "script_tokens.h"
#include "text_display.h"
#include "wire/ids.h"

namespace vemora::standin {

namespace {

constexpr const char* MAGIC = "vemora-host-state";
constexpr const char* VERSION = "2";
constexpr std::string_view CLOSING = "end ";

std::string hex8(uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

size_t countLines(std::string_view text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

const char* tableWord(uint8_t table) { return table == wire::CONFIG_TABLE ? "config" : "contact"; }

std::string valueWords(const CellValue& value) {
    return value.kind == ValueKind::Int ? "int " + std::to_string(value.number) : "text " + quotedText(value.text);
}

// A row's cells are held by column in ascending order.
void writeRow(std::ostringstream& out, const std::string& prefix, const HostTables::Row& row) {
    for (const auto& [column, value] : row) out << prefix << column << ' ' << valueWords(value) << '\n';
}

class StateParser {
public:
    StateParser(const std::string& source, HostTables& tables, ColumnCatalog& columns)
        : source_(source), tables_(tables), columns_(columns) {}

    void line(int lineNumber, std::string_view text) {
        number_ = lineNumber;
        if (seenMagic_ && plainContactCell(text)) return;
        std::string error;
        const std::optional<std::vector<Token>> tokens = tokenizeLine(text, error);
        if (!tokens) fail(error);
        if (tokens->empty()) return;
        words_ = &*tokens;
        const std::string keyword = word(0);
        if (!seenMagic_) {
            if (keyword != MAGIC || words_->size() != 2) fail("not a vemora-host state file");
            if (word(1) != VERSION) {
                fail("state file version " + word(1) + " is not the one this vemora-host reads (" + VERSION +
                     "); move the file away to start afresh");
            }
            seenMagic_ = true;
        } else if (keyword == "contacts") {
            expectWords(2);
            const int32_t count = number(1, 0);
            tables_.reserveContacts(std::min(count, 1 << 22));  // rows beyond are added one by one
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
            tables_.set(wire::CONFIG_TABLE, wire::CONFIG_ROW, static_cast<uint32_t>(number(1, 0)), value(2));
        } else if (keyword == "contact") {
            expectWords(5);
            const int32_t row = number(1, 1);
            if (!tables_.set(wire::CONTACT_TABLE, row, static_cast<uint32_t>(number(2, 0)), value(3))) {
                fail("contact " + std::to_string(row) + " lies beyond the number of contacts");
            }
        } else {
            fail("unknown entry \"" + keyword + "\"");
        }
    }

    bool seenMagic() const { return seenMagic_; }

    void finish() {
        if (!seenMagic_) throw HostError(source_ + ": not a vemora-host state file (it is empty)");
    }

private:
    // The lines that make up nearly all of a large file, as the writer
    // writes them: "contact ROW COLUMN int NUMBER" or "contact ROW COLUMN
    // text "..."" with printable ASCII alone in the text (the same bytes in
    // UTF-8 and code page 1250). Read here without the general tokenizer;
    // false for anything else, which the general path reads (or refuses).
    bool plainContactCell(std::string_view text) {
        constexpr std::string_view PREFIX = "contact ";
        if (text.substr(0, PREFIX.size()) != PREFIX) return false;
        const char* at = text.data() + PREFIX.size();
        const char* const end = text.data() + text.size();
        int32_t row = 0;
        uint32_t column = 0;
        auto parsed = std::from_chars(at, end, row);
        if (parsed.ec != std::errc() || parsed.ptr == end || *parsed.ptr != ' ') return false;
        parsed = std::from_chars(parsed.ptr + 1, end, column);
        if (parsed.ec != std::errc() || parsed.ptr == end || *parsed.ptr != ' ') return false;
        const std::string_view rest(parsed.ptr + 1, static_cast<size_t>(end - parsed.ptr - 1));
        if (row < 1 || row > tables_.contactCount()) return false;
        if (rest.substr(0, 4) == "int ") {
            int32_t value = 0;
            const auto number = std::from_chars(rest.data() + 4, end, value);
            if (number.ec != std::errc() || number.ptr != end || rest.size() == 4) return false;
            tables_.set(wire::CONTACT_TABLE, row, column, CellValue::ofInt(value));
            return true;
        }
        if (rest.substr(0, 6) != "text \"" || rest.size() < 7 || rest.back() != '"') return false;
        const std::string_view body = rest.substr(6, rest.size() - 7);
        for (const char c : body)
            if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') return false;
        tables_.set(wire::CONTACT_TABLE, row, column, CellValue::ofText(std::string(body)));
        return true;
    }

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
        if (name == "config") return wire::CONFIG_TABLE;
        if (name == "contact") return wire::CONTACT_TABLE;
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
    std::string body = out.str();
    body += std::string(CLOSING) + std::to_string(countLines(body)) + " " + hex8(crc32(body)) + "\n";
    return body;
}

namespace {

// The lines before the closing line, once the closing line vouches for them.
// The lines up to the version line are read first, so that another file or
// another version is named as such rather than as damaged.
std::string_view checkedBody(std::string_view content, const std::string& source, StateParser& parser) {
    if (content.empty()) throw HostError(source + ": not a vemora-host state file (it is empty)");
    int number = 0;
    for (size_t start = 0; start < content.size() && !parser.seenMagic();) {
        const size_t end = content.find('\n', start);
        parser.line(++number, content.substr(start, end == content.npos ? content.npos : end - start));
        start = end == content.npos ? content.size() : end + 1;
    }
    if (!parser.seenMagic()) throw HostError(source + ": not a vemora-host state file");
    const std::string damaged = source + ": damaged or cut short, so it is not read (nothing was changed): ";
    if (content.back() != '\n') throw HostError(damaged + "it ends in the middle of a line");
    const size_t lastStart = content.rfind('\n', content.size() - 2) + 1;  // npos + 1 is 0
    const std::string_view last = content.substr(lastStart, content.size() - 1 - lastStart);
    const std::string_view body = content.substr(0, lastStart);
    if (last.substr(0, CLOSING.size()) != CLOSING) throw HostError(damaged + "its closing \"end\" line is missing");
    const std::string expected = std::string(CLOSING) + std::to_string(countLines(body)) + " " + hex8(crc32(body));
    if (last != expected) {
        const size_t space = last.find(' ', CLOSING.size());
        const std::string counted(last.substr(CLOSING.size(), space == last.npos ? last.npos : space - CLOSING.size()));
        if (counted != std::to_string(countLines(body))) {
            throw HostError(damaged + "it has " + std::to_string(countLines(body)) +
                            " lines before its closing line, which counts " + counted);
        }
        throw HostError(damaged + "its lines do not match the checksum of its closing line");
    }
    return body;
}

}  // namespace

void parseState(std::string_view content, const std::string& sourceName, HostModel& model) {
    HostTables tables;
    ColumnCatalog columns;
    {
        HostTables probeTables;
        ColumnCatalog probeColumns;
        StateParser probe(sourceName, probeTables, probeColumns);
        content = checkedBody(content, sourceName, probe);
    }
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
    model.markSaved();
}

bool loadState(const std::string& path, HostModel& model) {
    const std::optional<std::string> content = readWholeFile(path);
    if (!content) return false;
    parseState(*content, path, model);
    return true;
}

void saveState(const std::string& path, HostModel& model, const WriteStop* stop) {
    replaceWholeFile(path, serializeState(model), stop);
    model.markSaved();
}

}  // namespace vemora::standin
