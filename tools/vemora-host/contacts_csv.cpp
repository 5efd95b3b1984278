#include "contacts_csv.h"

#include <charconv>
#include <map>
#include <utility>

#include "birth_date_text.h"
#include "csv_encoding.h"
#include "csv_header.h"
#include "gender_words.h"
#include "host_error.h"
#include "text_codec.h"
#include "text_display.h"

namespace vemora::standin {

namespace {

// Characters code page 1250 lacks are reported together, this many at most.
constexpr size_t UNMAPPABLE_LISTED = 10;

struct CsvRecord {
    int line = 0;  // where the record starts
    std::vector<std::string> fields;
};

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

// Control bytes no field may hold (a tab may; line ends end the line, or
// belong to a quoted field).
bool isForbiddenControl(char c) { return isControlByte(c) && !isLineEnd(c); }

// The separator the header line uses the most, outside quotes: a comma, a
// semicolon (a spreadsheet where the comma is the decimal sign, as in
// Poland) or a tab; a comma when it uses none.
char separatorOf(std::string_view text) {
    size_t at = 0;
    while (true) {  // past blank lines, as the reader skips them
        size_t end = at;
        while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) ++end;
        if (end >= text.size() || !isLineEnd(text[end])) break;
        at = end + 1;
    }
    std::map<char, int> counts;
    bool quoted = false;
    for (; at < text.size() && (quoted || !isLineEnd(text[at])); ++at) {
        if (text[at] == '"') quoted = !quoted;
        if (!quoted) ++counts[text[at]];
    }
    char best = ',';
    for (const char candidate : {';', '\t'})
        if (counts[candidate] > counts[best]) best = candidate;
    return best;
}

std::string separatorName(char separator) {
    return separator == ',' ? "commas" : separator == ';' ? "semicolons" : "tabs";
}

class CsvReader {
public:
    CsvReader(std::string_view content, const std::string& source)
        : text_(content), source_(source), separator_(separatorOf(content)) {}

    char separator() const { return separator_; }

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
    bool isBlank(char c) const { return c == ' ' || (c == '\t' && separator_ != '\t'); }

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
            ++pos_;  // a separator: another field follows
        }
    }

    std::string readField(const CsvRecord& record) {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == '"') return readQuoted(record);
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != separator_ && !isLineEnd(text_[pos_])) {
            if (isForbiddenControl(text_[pos_])) failControl(line_, record, text_[pos_]);
            ++pos_;
        }
        std::string_view field = text_.substr(start, pos_ - start);
        while (!field.empty() && isBlank(field.back())) field.remove_suffix(1);
        return std::string(field);
    }

    std::string readQuoted(const CsvRecord& record) {
        const int openedOn = line_;
        std::string field;
        ++pos_;
        while (true) {
            if (pos_ >= text_.size()) fail(openedOn, record, "the quoted text is not closed; end it with a quote (\")");
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
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] != separator_ && !isLineEnd(text_[pos_])) {
            fail(line_, record, "text follows the closing quote; inside quotes write a quote as two (\"\")");
        }
        return field;
    }

    void skipBlanks() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
    }

    [[noreturn]] void failControl(int line, const CsvRecord& record, char c) {
        fail(line, record,
             "holds the control byte " + byteName(static_cast<unsigned char>(c)) + ", which no field may hold; delete it");
    }

    [[noreturn]] void fail(int line, const CsvRecord& record, const std::string& what) {
        const size_t index = record.fields.size();
        const std::string field =
            index < names_.size() ? quotedUtf8(names_[index]) : std::to_string(index + 1);
        throw HostError(source_ + ":" + std::to_string(line) + ": field " + field + ": " + what);
    }

    std::string_view text_;
    const std::string& source_;
    char separator_;
    std::vector<std::string> names_;
    size_t pos_ = 0;
    int line_ = 1;
};

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
    FieldReader(const CsvRecord& record, const CsvHeader& header, const std::string& source,
                UnmappableLog& unmappable, int* replaced)
        : record_(record), header_(header), source_(source), unmappable_(unmappable), replaced_(replaced) {}

    const std::string& raw(ContactField field) const {
        static const std::string empty;
        const int column = header_.columnOf[field];
        return column < 0 ? empty : record_.fields[static_cast<size_t>(column)];
    }

    [[noreturn]] void fail(ContactField field, const std::string& what) const {
        throw HostError(source_ + ":" + std::to_string(record_.line) + ": field \"" + fieldName(field) + "\": " + what);
    }

    std::string text(ContactField field) const {
        const std::string& value = raw(field);
        std::optional<std::string> converted = utf8ToCp1250(value);
        if (converted) return *converted;
        if (replaced_ != nullptr) return replaceUnmappable(value, *replaced_);
        unmappable_.add("line " + std::to_string(record_.line) + " field \"" + fieldName(field) + "\" " +
                        quotedUtf8(value));
        return {};
    }

    uint32_t net() const {
        const std::string& value = raw(NET);
        if (value.empty()) return 0;
        uint32_t number = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size() || number > 0x7FFFFFFFu) {
            fail(NET, quotedUtf8(value) + " is not a net number; write the net's number, or nothing for 0");
        }
        return number;
    }

    std::optional<CivilDate> birthDate() const {
        const std::string& value = raw(BIRTH_DATE);
        if (value.empty()) return std::nullopt;
        std::optional<CivilDate> date = parseBirthDate(value);
        if (!date) fail(BIRTH_DATE, quotedUtf8(value) + " " + whyNotABirthDate(value));
        return date;
    }

    int32_t gender() const {
        const std::optional<int32_t> code = genderCode(raw(GENDER));
        if (!code) fail(GENDER, quotedUtf8(raw(GENDER)) + " is not a gender: write " + GENDER_WORDS);
        return *code;
    }

private:
    const CsvRecord& record_;
    const CsvHeader& header_;
    const std::string& source_;
    UnmappableLog& unmappable_;
    int* replaced_;
};

bool allEmpty(const std::vector<std::string>& fields) {
    for (const std::string& field : fields)
        if (!field.empty()) return false;
    return true;
}

// A record's fields, one for each column of the header: empty fields past
// the header's last column are dropped, as a spreadsheet leaves them there.
void fitToHeader(CsvRecord& record, const CsvHeader& header, char separator, const std::string& source) {
    size_t width = record.fields.size();
    while (width > header.width && record.fields[width - 1].empty()) --width;
    if (width != header.width) {
        throw HostError(source + ":" + std::to_string(record.line) + ": " + std::to_string(width) +
                        " fields where the header has " + std::to_string(header.width) + " (separated by " +
                        separatorName(separator) + "); give the line one field for each column of the header");
    }
    record.fields.resize(width);
}

// One line a contact: the uid, with the net when the file has a net column.
class RepeatCheck {
public:
    RepeatCheck(bool byNet, const std::string& source) : byNet_(byNet), source_(source) {}

    void add(const ContactRecord& contact) {
        const auto [first, fresh] = lineOf_.emplace(std::pair(byNet_ ? contact.net : 0, contact.uid), contact.line);
        if (fresh) return;
        const std::string onNet = byNet_ ? " on net " + std::to_string(contact.net) : "";
        throw HostError(source_ + ":" + std::to_string(contact.line) + ": uid " + quotedText(contact.uid) + onNet +
                        " is on line " + std::to_string(first->second) +
                        " too; keep one of the two lines, so that the file says one thing of each contact");
    }

private:
    bool byNet_;
    const std::string& source_;
    std::map<std::pair<uint32_t, std::string>, int> lineOf_;
};

}  // namespace

CsvContacts readContactsCsv(std::string_view bytes, const std::string& sourceName, bool replaceUnmappable) {
    CsvContacts result;
    DecodedCsv decoded = decodeCsv(bytes, sourceName);
    result.readAs = std::move(decoded.readAs);
    CsvReader reader(decoded.utf8, sourceName);
    CsvRecord headerLine;
    if (!reader.next(headerLine)) {
        throw HostError(sourceName + ": no header line; the first line names the columns, as in: " + CSV_HEADER);
    }
    const CsvHeader header =
        readCsvHeader(headerLine.fields, sourceName + ":" + std::to_string(headerLine.line) + ": ");
    reader.setFieldNames(headerLine.fields);

    UnmappableLog unmappable;
    int* replaced = replaceUnmappable ? &result.replaced : nullptr;
    CsvRecord record;
    while (reader.next(record)) {
        if (allEmpty(record.fields)) continue;  // a spreadsheet's empty row
        fitToHeader(record, header, reader.separator(), sourceName);
        const FieldReader fields(record, header, sourceName, unmappable, replaced);
        ContactRecord contact;
        if (fields.raw(UID).empty()) fields.fail(UID, "empty; every contact needs one: fill it in or delete the line");
        contact.uid = fields.text(UID);
        contact.net = fields.net();
        contact.display = fields.text(DISPLAY);
        contact.nick = fields.text(NICK);
        contact.firstName = fields.text(FIRST_NAME);
        contact.surname = fields.text(SURNAME);
        contact.birthDate = fields.birthDate();
        contact.gender = fields.gender();
        contact.fields = header.present;
        contact.line = record.line;
        result.contacts.push_back(std::move(contact));
    }
    unmappable.throwIfAny(sourceName);
    // Once every uid is known as it will be stored.
    RepeatCheck repeats(header.has(NET), sourceName);
    for (const ContactRecord& contact : result.contacts) repeats.add(contact);
    return result;
}

}  // namespace vemora::standin
