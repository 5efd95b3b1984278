#include "contacts_csv.h"

#include <array>
#include <charconv>

#include "date_text.h"
#include "host_error.h"
#include "text_codec.h"
#include "text_display.h"

namespace vemora::standin {

namespace {

constexpr std::array<const char*, CONTACT_FIELD_COUNT> FIELD_NAMES = {
    "uid", "net", "display", "nick", "first name", "surname", "birth date", "gender"};

// How the fields a header may name are listed in messages.
std::string knownFields() {
    std::string list;
    for (const char* name : FIELD_NAMES) list += (list.empty() ? "" : ", ") + std::string(name);
    return "(the fields a header may name: " + list + ")";
}

// Characters code page 1250 lacks are reported together, this many at most.
constexpr size_t UNMAPPABLE_LISTED = 10;

struct CsvRecord {
    int line = 0;  // where the record starts
    std::vector<std::string> fields;
};

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

// Control bytes no field may hold (a tab may; line ends end the line, or
// belong to a quoted field).
bool isForbiddenControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && !isLineEnd(c)) || byte == 0x7F;
}

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
    // LF, CR LF or CR alone, at pos_.
    void takeLineEnd() {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
    }

    bool blankLineAhead() {
        size_t i = pos_;
        while (i < text_.size() && (text_[i] == ' ' || text_[i] == '\t')) ++i;
        if (i < text_.size() && !isLineEnd(text_[i])) return false;
        pos_ = i;
        if (pos_ < text_.size()) {
            takeLineEnd();
        } else {
            ++line_;
        }
        return true;
    }

    void readRecord(CsvRecord& record) {
        while (true) {
            record.fields.push_back(readField(record));
            if (pos_ >= text_.size()) return;
            if (isLineEnd(text_[pos_])) {
                takeLineEnd();
                return;
            }
            ++pos_;  // a comma: another field follows
        }
    }

    std::string readField(const CsvRecord& record) {
        skipSpaces();
        if (pos_ < text_.size() && text_[pos_] == '"') return readQuoted(record);
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_])) {
            if (isForbiddenControl(text_[pos_])) failControl(line_, record, text_[pos_]);
            ++pos_;
        }
        std::string_view field = text_.substr(start, pos_ - start);
        while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
        return std::string(field);
    }

    std::string readQuoted(const CsvRecord& record) {
        const int openedOn = line_;
        std::string field;
        ++pos_;
        while (true) {
            if (pos_ >= text_.size()) fail(openedOn, record, "the quoted text is not closed");
            const char c = text_[pos_];
            if (c == '"' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                field += '"';
                pos_ += 2;
            } else if (c == '"') {
                ++pos_;
                break;
            } else if (isLineEnd(c)) {
                const size_t start = pos_;
                takeLineEnd();
                field += text_.substr(start, pos_ - start);  // kept as written
            } else {
                if (isForbiddenControl(c)) failControl(line_, record, c);
                field += c;
                ++pos_;
            }
        }
        skipSpaces();
        if (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_])) {
            fail(line_, record, "text follows the closing quote");
        }
        return field;
    }

    void skipSpaces() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }

    [[noreturn]] void failControl(int line, const CsvRecord& record, char c) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(c));
        fail(line, record, std::string("holds the control byte ") + code + ", which no field may hold");
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

std::array<int, CONTACT_FIELD_COUNT> readHeader(const CsvRecord& header, const std::string& source) {
    std::array<int, CONTACT_FIELD_COUNT> columnOf;
    columnOf.fill(-1);
    const std::string where = source + ":" + std::to_string(header.line) + ": ";
    for (size_t i = 0; i < header.fields.size(); ++i) {
        const std::string name = lowerAscii(header.fields[i]);
        int field = -1;
        for (int f = 0; f < CONTACT_FIELD_COUNT; ++f)
            if (name == FIELD_NAMES[static_cast<size_t>(f)]) field = f;
        if (field < 0) {
            throw HostError(where + "unknown field " + quotedUtf8(header.fields[i]) + " in the header " + knownFields());
        }
        if (columnOf[static_cast<size_t>(field)] >= 0) {
            throw HostError(where + "field \"" + FIELD_NAMES[static_cast<size_t>(field)] + "\" named twice in the header");
        }
        columnOf[static_cast<size_t>(field)] = static_cast<int>(i);
    }
    if (columnOf[UID] < 0) throw HostError(where + "the header has no \"uid\" field " + knownFields());
    return columnOf;
}

// Each character code page 1250 lacks becomes "?"; the count goes up by one
// for each. The text is valid UTF-8.
std::string replaceUnmappable(std::string_view utf8, int& count) {
    std::string converted;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (std::optional<std::string> one = utf8ToCp1250(utf8.substr(i, length))) {
            converted += *one;
        } else {
            converted += '?';
            ++count;
        }
        i += length;
    }
    return converted;
}

// The fields, line by line, holding characters code page 1250 lacks.
class UnmappableLog {
public:
    void add(const std::string& where) {
        if (listed_.size() < UNMAPPABLE_LISTED) listed_.push_back(where);
        ++count_;
    }
    void throwIfAny(const std::string& source) const {
        if (count_ == 0) return;
        std::string message = source + ": characters that code page 1250 cannot hold, in " +
                              std::to_string(count_) + (count_ == 1 ? " field: " : " fields: ");
        for (size_t i = 0; i < listed_.size(); ++i) message += (i == 0 ? "" : "; ") + listed_[i];
        if (count_ > listed_.size()) message += "; and " + std::to_string(count_ - listed_.size()) + " more";
        throw HostError(message + " (\"import --replace FILE\" puts \"?\" in their place)");
    }

private:
    std::vector<std::string> listed_;
    size_t count_ = 0;
};

class FieldReader {
public:
    FieldReader(const CsvRecord& record, const std::array<int, CONTACT_FIELD_COUNT>& columnOf,
                const std::string& source, UnmappableLog& unmappable, int* replaced)
        : record_(record), columnOf_(columnOf), source_(source), unmappable_(unmappable), replaced_(replaced) {}

    const std::string& raw(ContactField field) const {
        static const std::string empty;
        const int column = columnOf_[field];
        return column < 0 ? empty : record_.fields[static_cast<size_t>(column)];
    }

    [[noreturn]] void fail(ContactField field, const std::string& what) const {
        throw HostError(source_ + ":" + std::to_string(record_.line) + ": field \"" + FIELD_NAMES[field] + "\": " + what);
    }

    std::string text(ContactField field) const {
        const std::string& value = raw(field);
        if (!isValidUtf8(value)) fail(field, "not UTF-8");
        std::optional<std::string> converted = utf8ToCp1250(value);
        if (converted) return *converted;
        if (replaced_ != nullptr) return replaceUnmappable(value, *replaced_);
        unmappable_.add("line " + std::to_string(record_.line) + " field \"" + FIELD_NAMES[field] + "\" " +
                        quotedUtf8(value));
        return {};
    }

    uint32_t net() const {
        const std::string& value = raw(NET);
        if (value.empty()) return 0;
        uint32_t number = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size() || number > 0x7FFFFFFFu) {
            fail(NET, quotedUtf8(value) + " is not a net number");
        }
        return number;
    }

    std::optional<CivilDate> birthDate() const {
        const std::string& value = raw(BIRTH_DATE);
        if (value.empty()) return std::nullopt;
        std::optional<CivilDate> date = parseIsoDate(value);
        if (!date) fail(BIRTH_DATE, quotedUtf8(value) + " " + whyNotADate(value));
        return date;
    }

    int32_t gender() const {
        const std::string value = lowerAscii(raw(GENDER));
        if (value.empty() || value == "0") return 0;
        if (value == "1" || value == "female" || value == "f") return 1;
        if (value == "2" || value == "male" || value == "m") return 2;
        fail(GENDER, quotedUtf8(raw(GENDER)) + " is not 1 (female), 2 (male) or 0 (unknown)");
    }

private:
    const CsvRecord& record_;
    const std::array<int, CONTACT_FIELD_COUNT>& columnOf_;
    const std::string& source_;
    UnmappableLog& unmappable_;
    int* replaced_;
};

}  // namespace

std::vector<ContactRecord> parseContactsCsv(std::string_view content, const std::string& sourceName,
                                            int* replacedCount) {
    CsvReader reader(content, sourceName);
    CsvRecord header;
    if (!reader.next(header)) throw HostError(sourceName + ": no header line " + knownFields());
    const std::array<int, CONTACT_FIELD_COUNT> columnOf = readHeader(header, sourceName);
    reader.setFieldNames(header.fields);
    uint32_t present = 0;
    for (int f = 0; f < CONTACT_FIELD_COUNT; ++f)
        if (columnOf[static_cast<size_t>(f)] >= 0) present |= 1u << f;

    std::vector<ContactRecord> contacts;
    UnmappableLog unmappable;
    CsvRecord record;
    while (reader.next(record)) {
        if (record.fields.size() != header.fields.size()) {
            throw HostError(sourceName + ":" + std::to_string(record.line) + ": " +
                            std::to_string(record.fields.size()) + " fields where the header has " +
                            std::to_string(header.fields.size()));
        }
        const FieldReader fields(record, columnOf, sourceName, unmappable, replacedCount);
        ContactRecord contact;
        if (fields.raw(UID).empty()) fields.fail(UID, "empty; every contact needs one");
        contact.uid = fields.text(UID);
        contact.net = fields.net();
        contact.display = fields.text(DISPLAY);
        contact.nick = fields.text(NICK);
        contact.firstName = fields.text(FIRST_NAME);
        contact.surname = fields.text(SURNAME);
        contact.birthDate = fields.birthDate();
        contact.gender = fields.gender();
        contact.fields = present;
        contacts.push_back(std::move(contact));
    }
    unmappable.throwIfAny(sourceName);
    return contacts;
}

}  // namespace vemora::standin
