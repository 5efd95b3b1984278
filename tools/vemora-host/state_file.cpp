#include "state_file.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <map>
#include <sstream>
#include <vector>

#include "file_io.h"
#include "host_error.h"
#include "script_tokens.h"
#include "state_seal.h"
#include "text_display.h"
#include "wire/ids.h"

namespace vemora::standin {

namespace {

constexpr const char* MAGIC = "vemora-host-state";
constexpr const char* VERSION = "2";

const char* tableWord(uint8_t table) { return table == wire::CONFIG_TABLE ? "config" : "contact"; }

std::string valueWords(const CellValue& value) {
    return value.kind == ValueKind::Int ? "int " + std::to_string(value.number) : "text " + quotedText(value.text);
}

// A row's cells are held by column in ascending order.
void writeRow(std::ostringstream& out, const std::string& prefix, const HostTables::Row& row) {
    for (const auto& [column, value] : row) out << prefix << column << ' ' << valueWords(value) << '\n';
}

// How closely lines are read. A file vemora-host wrote and sealed is read
// as it was written. A file edited by hand is read strictly, since an
// editor's slip that the plain reading would take quietly (the same cell
// given twice: which one holds?) is better named.
enum class Reading { AsWritten, Strict };

class StateParser {
public:
    StateParser(const std::string& source, HostTables& tables, ColumnCatalog& columns, Reading reading)
        : source_(source), tables_(tables), columns_(columns), strict_(reading == Reading::Strict) {}

    void line(int lineNumber, std::string_view text) {
        number_ = lineNumber;
        if (seenMagic_ && !strict_ && plainContactCell(text)) return;
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
            once("contacts", "the number of contacts");
            const int32_t count = number(1, 0);
            tables_.reserveContacts(std::min(count, 1 << 22));  // rows beyond are added one by one
            while (tables_.contactCount() < count) tables_.addContact();
        } else if (keyword == "column") {
            expectWords(5);
            ColumnInfo column;
            column.table = tableOf(word(1));
            column.id = static_cast<uint32_t>(number(2, 0));
            once("column " + word(1) + " " + word(2), "column " + word(1) + " " + word(2));
            const CellValue fallback = value(3);
            column.kind = fallback.kind;
            column.defaultInt = fallback.number;
            column.defaultText = fallback.text;
            columns_.registerColumn(column);
        } else if (keyword == "config") {
            expectWords(4);
            const auto column = static_cast<uint32_t>(number(1, 0));
            setCell(wire::CONFIG_TABLE, wire::CONFIG_ROW, column, value(2));
        } else if (keyword == "contact") {
            expectWords(5);
            const int32_t row = number(1, 1);
            if (!tables_.hasRow(wire::CONTACT_TABLE, row)) {
                fail("contact " + std::to_string(row) + " lies beyond the number of contacts");
            }
            setCell(wire::CONTACT_TABLE, row, static_cast<uint32_t>(number(2, 0)), value(3));
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

    void setCell(uint8_t table, int32_t row, uint32_t column, CellValue value) {
        if (strict_) {
            if (tables_.cell(table, row, column) != nullptr) {
                fail(std::string(tableWord(table)) + (table == wire::CONTACT_TABLE ? " " + std::to_string(row) : "") + " " +
                     std::to_string(column) + " is given a value a second time; keep one of its lines");
            }
            const ColumnInfo* info = columns_.find(table, column);
            if (info != nullptr && info->kind != value.kind) {
                fail("column " + std::to_string(column) + " holds " + (info->kind == ValueKind::Int ? "int" : "text") +
                     " values; write \"" + (info->kind == ValueKind::Int ? "int NUMBER" : "text \\\"TEXT\\\"") + "\"");
            }
        }
        tables_.set(table, row, column, std::move(value));
    }

    // Strictly, the number of contacts and each column are given once.
    void once(const std::string& key, const std::string& what) {
        if (!strict_) return;
        const auto [first, fresh] = firstLine_.emplace(key, number_);
        if (!fresh) fail(what + " is given twice (first on line " + std::to_string(first->second) + "); keep one line");
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
    bool strict_;
    const std::vector<Token>* words_ = nullptr;
    int number_ = 0;
    bool seenMagic_ = false;
    std::map<std::string, int> firstLine_;  // strictly: the line of each entry given once
};

// Each line of `text` to the parser, numbered from 1; stops once `enough`
// says so. Returns the number of lines read.
template <class Enough>
int readLines(std::string_view text, StateParser& parser, Enough enough) {
    int number = 0;
    for (size_t start = 0; start < text.size() && !enough();) {
        const size_t end = text.find('\n', start);
        parser.line(++number, text.substr(start, end == std::string_view::npos ? text.npos : end - start));
        start = end == std::string_view::npos ? text.size() : end + 1;
    }
    return number;
}

int readAll(std::string_view text, StateParser& parser) {
    return readLines(text, parser, [] { return false; });
}

// Every line of a file's body read strictly, into tables nobody keeps: throws
// HostError at the first fault. Returns the number of lines.
int readStrictly(std::string_view body, const std::string& source) {
    HostTables tables;
    ColumnCatalog columns;
    StateParser strict(source, tables, columns, Reading::Strict);
    const int lines = readAll(body, strict);
    strict.finish();
    return lines;
}

// The lines up to the version line, read first, so that another file or
// another version is named as such rather than as damaged.
void requireStateHead(std::string_view content, const std::string& source) {
    if (content.empty()) throw HostError(source + ": not a vemora-host state file (it is empty)");
    HostTables tables;
    ColumnCatalog columns;
    StateParser head(source, tables, columns, Reading::AsWritten);
    readLines(content, head, [&] { return head.seenMagic(); });
    if (!head.seenMagic()) throw HostError(source + ": not a vemora-host state file");
}

// The lines before the closing line, once the closing line vouches for them.
// A file changed since it was written is read strictly, to say whether its
// lines still read.
std::string_view checkedBody(std::string_view content, const std::string& source) {
    requireStateHead(content, source);
    std::string fault;
    const std::optional<SealedFile> sealed = splitAtClosingLine(content, fault);
    if (!sealed) throw HostError(source + ": damaged or cut short, so it is not read (nothing was changed): " + fault);
    fault = sealFault(*sealed);
    if (fault.empty()) return sealed->body;

    const std::string changed = "changed since vemora-host wrote it (" + fault + ")";
    try {
        readStrictly(sealed->body, source);
    } catch (const HostError& error) {
        throw HostError(std::string(error.what()) + "; the file was " + changed +
                        ", so it is not read (nothing was changed). Mend the line, then seal the file again: " +
                        acceptEditsCommand(source));
    }
    throw HostError(source + ": " + changed + ", so it is not read (nothing was changed). If you edited it by hand, " +
                    "this checks it line by line and seals it again: " + acceptEditsCommand(source));
}

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
    body += closingLine(body);
    return body;
}

void parseState(std::string_view content, const std::string& sourceName, HostModel& model) {
    HostTables tables;
    ColumnCatalog columns;
    StateParser parser(sourceName, tables, columns, Reading::AsWritten);
    readAll(checkedBody(content, sourceName), parser);
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

std::string acceptEditsCommand(const std::string& path) {
    // Double quotes serve the shells of both systems, should the name need any.
    constexpr const char* PLAIN = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.,/\\:+=@%-";
    const bool plain = path.find_first_not_of(PLAIN) == std::string::npos;
    return "vemora-host --state " + (plain ? path : "\"" + path + "\"") + " --accept-edits";
}

std::string acceptStateEdits(const std::string& path) {
    const std::string content = readExistingFile(path);
    requireStateHead(content, path);
    std::string fault;
    const std::optional<SealedFile> sealed = splitAtClosingLine(content, fault);
    if (!sealed) {
        throw HostError(path + ": " + fault + ", so it may be cut short: its edits are not accepted (nothing was changed)");
    }
    const int lines = readStrictly(sealed->body, path);
    if (sealFault(*sealed).empty()) return "[" + path + ": its closing line vouches for every line; nothing to accept]";
    const std::string body(sealed->body);
    replaceWholeFile(path, body + closingLine(body));
    return "[" + path + ": edits accepted: " + std::to_string(lines) + " lines read, sealed again with a fresh closing line]";
}

}  // namespace vemora::standin
