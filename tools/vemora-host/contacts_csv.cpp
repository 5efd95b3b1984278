#include "contacts_csv.h"

#include <array>
#include <charconv>

#include "host_error.h"
#include "text_codec.h"
#include "text_display.h"

namespace vemora::standin {

namespace {

enum Field { UID, NET, DISPLAY, NICK, FIRST_NAME, SURNAME, BIRTH_DATE, GENDER, FIELD_COUNT };
constexpr std::array<const char*, FIELD_COUNT> FIELD_NAMES = {"uid",        "net",     "display",    "nick",
                                                               "first name", "surname", "birth date", "gender"};

struct CsvRecord {
    int line = 0;  // where the record starts
    std::vector<std::string> fields;
};

class CsvReader {
public:
    CsvReader(std::string_view content, const std::string& source) : text_(content), source_(source) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);  // a byte-order mark
    }

    // Names the fields in errors once the header is known.
    void setFieldNames(std::vector<std::string> names) { names_ = std::move(names); }

    // The next record, skipping blank lines; false at the end.
    bool next(CsvRecord& record) {
        while (pos_ < text_.size()) {
            record.line = line_;
            record.fields.clear();
            if (blankLineAhead()) continue;
            readRecord(record);
            return true;
        }
        return false;
    }

private:
    bool blankLineAhead() {
        size_t i = pos_;
        while (i < text_.size() && (text_[i] == ' ' || text_[i] == '\t' || text_[i] == '\r')) ++i;
        if (i < text_.size() && text_[i] != '\n') return false;
        pos_ = i < text_.size() ? i + 1 : i;
        ++line_;
        return true;
    }

    void readRecord(CsvRecord& record) {
        while (true) {
            record.fields.push_back(readField(record));
            if (pos_ >= text_.size()) return;
            const char separator = text_[pos_++];
            if (separator == '\n') {
                ++line_;
                return;
            }
            // otherwise a comma: another field follows
        }
    }

    std::string readField(const CsvRecord& record) {
        skipSpaces();
        if (pos_ < text_.size() && text_[pos_] == '"') return readQuoted(record);
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\n') ++pos_;
        std::string_view field = text_.substr(start, pos_ - start);
        while (!field.empty() && (field.back() == ' ' || field.back() == '\t' || field.back() == '\r')) {
            field.remove_suffix(1);
        }
        return std::string(field);
    }

    std::string readQuoted(const CsvRecord& record) {
        const int openedOn = line_;
        std::string field;
        ++pos_;
        while (true) {
            if (pos_ >= text_.size()) fail(openedOn, record, "the quoted text is not closed");
            const char c = text_[pos_++];
            if (c == '"' && pos_ < text_.size() && text_[pos_] == '"') {
                field += '"';
                ++pos_;
            } else if (c == '"') {
                break;
            } else {
                if (c == '\n') ++line_;
                field += c;
            }
        }
        skipSpaces();
        if (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\n') {
            fail(line_, record, "text follows the closing quote");
        }
        return field;
    }

    void skipSpaces() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r')) ++pos_;
    }

    [[noreturn]] void fail(int line, const CsvRecord& record, const std::string& what) {
        const size_t index = record.fields.size();
        const std::string field =
            index < names_.size() ? "\"" + names_[index] + "\"" : std::to_string(index + 1);
        throw HostError(source_ + ":" + std::to_string(line) + ": field " + field + ": " + what);
    }

    std::string_view text_;
    const std::string& source_;
    std::vector<std::string> names_;
    size_t pos_ = 0;
    int line_ = 1;
};

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::array<int, FIELD_COUNT> readHeader(const CsvRecord& header, const std::string& source) {
    std::array<int, FIELD_COUNT> columnOf;
    columnOf.fill(-1);
    for (size_t i = 0; i < header.fields.size(); ++i) {
        const std::string name = lowerAscii(header.fields[i]);
        int field = -1;
        for (int f = 0; f < FIELD_COUNT; ++f)
            if (name == FIELD_NAMES[static_cast<size_t>(f)]) field = f;
        const std::string where = source + ":" + std::to_string(header.line) + ": ";
        if (field < 0) {
            throw HostError(where + "unknown field \"" + header.fields[i] + "\" in the header (the header is \"" +
                            CSV_HEADER + "\")");
        }
        if (columnOf[static_cast<size_t>(field)] >= 0) {
            throw HostError(where + "field \"" + FIELD_NAMES[static_cast<size_t>(field)] + "\" named twice in the header");
        }
        columnOf[static_cast<size_t>(field)] = static_cast<int>(i);
    }
    if (columnOf[UID] < 0) {
        throw HostError(source + ":" + std::to_string(header.line) + ": the header has no \"uid\" (the header is \"" +
                        CSV_HEADER + "\")");
    }
    return columnOf;
}

class FieldReader {
public:
    FieldReader(const CsvRecord& record, const std::array<int, FIELD_COUNT>& columnOf, const std::string& source)
        : record_(record), columnOf_(columnOf), source_(source) {}

    const std::string& raw(Field field) const {
        static const std::string empty;
        const int column = columnOf_[field];
        return column < 0 ? empty : record_.fields[static_cast<size_t>(column)];
    }

    [[noreturn]] void fail(Field field, const std::string& what) const {
        throw HostError(source_ + ":" + std::to_string(record_.line) + ": field \"" + FIELD_NAMES[field] + "\": " + what);
    }

    std::string text(Field field) const {
        const std::string& value = raw(field);
        if (!isValidUtf8(value)) fail(field, "not UTF-8");
        std::optional<std::string> converted = utf8ToCp1250(value);
        if (!converted) fail(field, "\"" + value + "\" holds a character that code page 1250 cannot hold");
        return *converted;
    }

    uint32_t net() const {
        const std::string& value = raw(NET);
        if (value.empty()) return 0;
        uint32_t number = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size() || number > 0x7FFFFFFFu) {
            fail(NET, "\"" + value + "\" is not a net number");
        }
        return number;
    }

    std::optional<CivilDate> birthDate() const {
        const std::string& value = raw(BIRTH_DATE);
        if (value.empty()) return std::nullopt;
        std::optional<CivilDate> date = parseIsoDate(value);
        if (!date) fail(BIRTH_DATE, "\"" + value + "\" is not a date of the form YYYY-MM-DD");
        return date;
    }

    int32_t gender() const {
        const std::string value = lowerAscii(raw(GENDER));
        if (value.empty() || value == "0") return 0;
        if (value == "1" || value == "female" || value == "f") return 1;
        if (value == "2" || value == "male" || value == "m") return 2;
        fail(GENDER, "\"" + raw(GENDER) + "\" is not 1 (female), 2 (male) or 0 (unknown)");
    }

private:
    const CsvRecord& record_;
    const std::array<int, FIELD_COUNT>& columnOf_;
    const std::string& source_;
};

}  // namespace

std::vector<ContactRecord> parseContactsCsv(std::string_view content, const std::string& sourceName) {
    CsvReader reader(content, sourceName);
    CsvRecord header;
    if (!reader.next(header)) throw HostError(sourceName + ": no header line (it should be \"" + CSV_HEADER + "\")");
    const std::array<int, FIELD_COUNT> columnOf = readHeader(header, sourceName);
    reader.setFieldNames(header.fields);

    std::vector<ContactRecord> contacts;
    CsvRecord record;
    while (reader.next(record)) {
        if (record.fields.size() != header.fields.size()) {
            throw HostError(sourceName + ":" + std::to_string(record.line) + ": " +
                            std::to_string(record.fields.size()) + " fields where the header has " +
                            std::to_string(header.fields.size()));
        }
        const FieldReader fields(record, columnOf, sourceName);
        ContactRecord contact;
        contact.uid = fields.text(UID);
        if (contact.uid.empty()) fields.fail(UID, "empty; every contact needs one");
        contact.net = fields.net();
        contact.display = fields.text(DISPLAY);
        contact.nick = fields.text(NICK);
        contact.firstName = fields.text(FIRST_NAME);
        contact.surname = fields.text(SURNAME);
        contact.birthDate = fields.birthDate();
        contact.gender = fields.gender();
        contacts.push_back(std::move(contact));
    }
    return contacts;
}

}  // namespace vemora::standin
