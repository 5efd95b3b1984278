#include "state_file.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>
#include <tuple>

#include "host_error.h"
#include "text.h"

namespace vemora::standin {

namespace {

constexpr const char* MAGIC = "vemora-host-state";
constexpr const char* VERSION = "3";

std::string valueWords(const CellValue& value) {
    return value.kind == ValueKind::Int ? "int " + std::to_string(value.number) : "text " + quotedText(value.text);
}

class StateReader {
public:
    StateReader(const std::string& source, HostModel& model) : source_(source), model_(model) {}

    void line(int lineNumber, std::string_view text) {
        number_ = lineNumber;
        std::vector<Token> words;
        try {
            words = tokenizeLine(text);
        } catch (const HostError& error) {
            fail(error.what());
        }
        if (words.empty()) return;
        words_ = &words;
        const std::string keyword = word(0);
        if (ended_) fail("nothing may follow the closing line \"end\"");
        if (!begun_) {
            if (keyword != MAGIC || words.size() != 2) fail("not a vemora-host state file");
            if (word(1) != VERSION) {
                fail("a state file of version " + word(1) + ", not " + VERSION + "; move it away to start afresh");
            }
            begun_ = true;
        } else if (keyword == "contacts") {
            expectWords(2);
            if (counted_) fail("the number of contacts is given twice");
            const int32_t count = number(1, 0);
            if (count > MOST_CONTACTS) fail("more contacts than the stand-in keeps (" + std::to_string(MOST_CONTACTS) + ")");
            while (model_.tables.contactCount() < count) model_.tables.addContact();
            counted_ = true;
        } else if (keyword == "column") {
            expectWords(5);
            ColumnInfo column;
            column.table = tableOf(word(1));
            column.id = static_cast<uint32_t>(number(2, 0));
            const ColumnInfo* known = model_.columns.find(column.table, column.id);
            if (known != nullptr && known->registered) fail("the column is given twice");
            const CellValue fallback = value(3);
            column.kind = fallback.kind;
            column.defaultInt = fallback.number;
            column.defaultText = fallback.text;
            model_.columns.registerColumn(std::move(column));
        } else if (keyword == "config") {
            expectWords(4);
            setCell(wire::CONFIG_TABLE, wire::CONFIG_ROW, static_cast<uint32_t>(number(1, 0)), value(2));
        } else if (keyword == "contact") {
            expectWords(5);
            const int32_t row = number(1, 1);
            if (!model_.tables.hasRow(wire::CONTACT_TABLE, row)) fail("contact " + std::to_string(row) + " lies beyond the number of contacts");
            setCell(wire::CONTACT_TABLE, row, static_cast<uint32_t>(number(2, 0)), value(3));
        } else if (keyword == "end") {
            expectWords(1);
            ended_ = true;
        } else {
            fail("unknown entry \"" + keyword + "\"");
        }
    }

    void finish(int lines) {
        number_ = lines;
        if (!begun_) fail("not a vemora-host state file");
        if (!ended_) fail("no closing line \"end\": the file is cut short, so it is not read");
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw HostError(source_ + ":" + std::to_string(number_) + ": " + what + " (nothing was changed)");
    }

    std::string word(size_t index) const { return tokenText((*words_)[index]); }

    void expectWords(size_t count) const {
        if (words_->size() != count) fail("\"" + word(0) + "\" takes " + std::to_string(count - 1) + " values");
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
        try {
            return CellValue::ofText(tokenCp1250((*words_)[index + 1]));
        } catch (const HostError& error) {
            fail(error.what());
        }
    }

    void setCell(uint8_t table, int32_t row, uint32_t column, CellValue value) {
        if (!cellsGiven_.insert({table, row, column}).second) fail("a cell given a value a second time");
        const ColumnInfo* info = model_.columns.find(table, column);
        if (info != nullptr && info->kind != value.kind) {
            fail("column " + std::to_string(column) + " holds " + (info->kind == ValueKind::Int ? "int" : "text") +
                 " values");
        }
        model_.tables.set(table, row, column, std::move(value));
    }

    const std::string& source_;
    HostModel& model_;
    const std::vector<Token>* words_ = nullptr;
    int number_ = 0;
    bool begun_ = false, counted_ = false, ended_ = false;
    std::set<std::tuple<uint8_t, int32_t, uint32_t>> cellsGiven_;
};

}  // namespace

std::string serializeState(const HostModel& model) {
    std::ostringstream out;
    out << "# vemora-host state: the host's tables, kept between runs\n"
        << MAGIC << ' ' << VERSION << '\n'
        << "contacts " << model.tables.contactCount() << '\n';
    for (const ColumnInfo& column : model.columns.registeredColumns()) {
        const CellValue fallback = column.kind == ValueKind::Int ? CellValue::ofInt(column.defaultInt)
                                                                 : CellValue::ofText(column.defaultText);
        out << "column " << tableName(column.table) << ' ' << column.id << ' ' << valueWords(fallback) << '\n';
    }
    for (const auto& [column, value] : model.tables.configRow()) out << "config " << column << ' ' << valueWords(value) << '\n';
    for (int32_t row = 1; row <= model.tables.contactCount(); ++row) {
        for (const auto& [column, value] : model.tables.contactRow(row)) {
            out << "contact " << row << ' ' << column << ' ' << valueWords(value) << '\n';
        }
    }
    out << "end\n";
    return out.str();
}

void parseState(std::string_view content, const std::string& sourceName, HostModel& model) {
    HostModel read;
    StateReader reader(sourceName, read);
    int number = 0;
    for (const std::string_view line : splitLines(content)) reader.line(++number, line);
    reader.finish(number);
    model.tables = std::move(read.tables);
    model.columns = std::move(read.columns);
}

bool loadState(const std::string& path, HostModel& model) {
    const std::optional<std::string> content = readWholeFile(path);
    if (!content) return false;
    parseState(*content, path, model);
    return true;
}

void saveState(const std::string& path, const HostModel& model) {
    const std::filesystem::path target = utf8Path(path);
    std::filesystem::path beside = target;
    beside += ".new";
    const std::string content = serializeState(model);
    errno = 0;
    std::ofstream out(beside, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    std::error_code error;
    if (!out) {
        const int reason = errno != 0 ? errno : EIO;
        std::filesystem::remove(beside, error);
        throw HostError("cannot write " + path + ".new: " + std::generic_category().message(reason));
    }
    std::filesystem::rename(beside, target, error);
    if (error) {
        const std::string reason = error.message();
        std::filesystem::remove(beside, error);
        throw HostError("cannot replace " + path + ": " + reason);
    }
}

}  // namespace vemora::standin
