#include "contacts_csv.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>

#include "host_error.h"
#include "text.h"

namespace vemora::standin {

namespace {

constexpr size_t UID = 0;  // CONTACT_COLUMNS[UID] is CNT_UID
constexpr size_t NET = 1;  // and CONTACT_COLUMNS[NET] CNT_NET
static_assert(CONTACT_COLUMNS[UID].id == wire::CNT_UID && CONTACT_COLUMNS[NET].id == wire::CNT_NET);

struct CsvLine {
    int line = 0;  // where it starts
    std::vector<std::string> fields;
};

// RFC 4180 records, one after the other; lines with nothing on them are skipped.
class CsvReader {
public:
    CsvReader(std::string_view text, const std::string& source) : text_(text), source_(source) {}

    bool next(CsvLine& record) {
        while (pos_ < text_.size() && (text_[pos_] == '\n' || text_.substr(pos_, 2) == "\r\n")) takeLineEnd();
        if (pos_ >= text_.size()) return false;
        record.line = line_;
        record.fields.clear();
        while (true) {
            record.fields.push_back(field());
            if (pos_ >= text_.size()) return true;
            if (text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            takeLineEnd();
            return true;
        }
    }

    [[noreturn]] void fail(int line, const std::string& what) const {
        throw HostError(source_ + ":" + std::to_string(line) + ": " + what);
    }

private:
    bool atLineEnd() const { return text_[pos_] == '\n' || text_.substr(pos_, 2) == "\r\n"; }

    void takeLineEnd() {
        pos_ += text_[pos_] == '\r' ? 2 : 1;
        ++line_;
    }

    void refuseControl(char c) const {
        if (!isControlByte(c)) return;
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(c));
        fail(line_, std::string("a field holds the control byte ") + byte + ", which no field may hold");
    }

    std::string field() {
        std::string value;
        if (pos_ < text_.size() && text_[pos_] == '"') {
            const int openedOn = line_;
            for (++pos_;; ++pos_) {
                if (pos_ >= text_.size()) fail(openedOn, "a quoted field is not closed");
                const char c = text_[pos_];
                if (c == '"' && text_.substr(pos_, 2) == "\"\"") {
                    value += '"';
                    ++pos_;
                } else if (c == '"') {
                    ++pos_;
                    break;
                } else if (c == '\n') {
                    ++line_;
                    value += c;
                } else {
                    if (c != '\r') refuseControl(c);
                    value += c;
                }
            }
            if (pos_ < text_.size() && text_[pos_] != ',' && !atLineEnd()) {
                fail(line_, "text follows a closing quote (a quote inside quotes is written twice)");
            }
            return value;
        }
        while (pos_ < text_.size() && text_[pos_] != ',' && !atLineEnd()) {
            refuseControl(text_[pos_]);
            value += text_[pos_++];
        }
        return value;
    }

    std::string_view text_;
    const std::string& source_;
    size_t pos_ = 0;
    int line_ = 1;
};

CellValue cellOf(const ContactColumn& column, const std::string& field, const CsvReader& reader, int line) {
    const auto fail = [&](const std::string& what) {
        reader.fail(line, "field \"" + std::string(column.csvName) + "\": " + quotedUtf8(field) + " " + what);
    };
    if (column.kind == ValueKind::Text) {
        std::optional<std::string> text = utf8ToCp1250(field);
        if (!text) fail("holds a character that code page 1250 lacks");
        return CellValue::ofText(std::move(*text));
    }
    if (field.empty()) return CellValue::ofInt(0);
    if (column.id == wire::CNT_BIRTH_DATE) {
        const std::optional<CivilDate> date = parseIsoDate(field);
        if (!date) fail(whyNotADate(field));
        return CellValue::ofInt(packBirthDate(*date));
    }
    if (column.id == wire::CNT_GENDER_CODE) {
        const std::optional<int32_t> code = genderCode(field);
        if (!code) fail("is not a gender: 0, 1, female, 2, male or empty");
        return CellValue::ofInt(*code);
    }
    int32_t number = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
    if (error != std::errc() || end != field.data() + field.size() || number < 0) fail("is not a number");
    return CellValue::ofInt(number);
}

}  // namespace

CsvContacts readContactsCsv(std::string_view bytes, const std::string& sourceName) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (const size_t valid = validUtf8Length(bytes); valid < bytes.size()) {
        const int line = 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + valid, '\n'));
        throw HostError(sourceName + ":" + std::to_string(line) + ": not UTF-8 text; save the file as UTF-8");
    }
    CsvReader reader(bytes, sourceName);
    CsvLine header;
    if (!reader.next(header)) throw HostError(sourceName + ": no header line naming the columns");

    CsvContacts result;
    std::vector<int> columnOfField(header.fields.size(), -1);  // index into CONTACT_COLUMNS, or -1: skipped
    std::array<bool, CONTACT_COLUMN_COUNT> named{};
    for (size_t i = 0; i < header.fields.size(); ++i) {
        for (size_t c = 0; c < CONTACT_COLUMN_COUNT; ++c) {
            if (sameWordIgnoringCase(header.fields[i], CONTACT_COLUMNS[c].csvName)) columnOfField[i] = static_cast<int>(c);
        }
        const int column = columnOfField[i];
        if (column < 0) {
            result.skippedColumns.push_back(header.fields[i]);
        } else if (named[static_cast<size_t>(column)]) {
            reader.fail(header.line, "the header names \"" + std::string(CONTACT_COLUMNS[column].csvName) + "\" twice");
        } else {
            named[static_cast<size_t>(column)] = true;
        }
    }
    if (!named[UID]) reader.fail(header.line, "the header has no \"uid\" column");

    CsvLine line;
    while (reader.next(line)) {
        if (line.fields.size() != header.fields.size()) {
            reader.fail(line.line, std::to_string(line.fields.size()) + " fields where the header has " +
                                       std::to_string(header.fields.size()));
        }
        ContactRecord contact;
        for (size_t i = 0; i < line.fields.size(); ++i) {
            if (columnOfField[i] < 0) continue;
            const auto column = static_cast<size_t>(columnOfField[i]);
            contact.cells[column] = cellOf(CONTACT_COLUMNS[column], line.fields[i], reader, line.line);
        }
        if (contact.cells[UID]->text.empty()) reader.fail(line.line, "the uid is empty");
        result.contacts.push_back(std::move(contact));
    }
    return result;
}

std::optional<int32_t> genderCode(std::string_view word) {
    constexpr std::pair<const char*, int32_t> WORDS[] = {{"0", 0},
                                                         {"1", wire::GENDER_FEMALE},
                                                         {"female", wire::GENDER_FEMALE},
                                                         {"2", wire::GENDER_MALE},
                                                         {"male", wire::GENDER_MALE}};
    for (const auto& [known, code] : WORDS)
        if (sameWordIgnoringCase(word, known)) return code;
    return std::nullopt;
}

ImportCounts importContacts(HostTables& tables, const std::vector<ContactRecord>& contacts) {
    ImportCounts counts;
    std::map<std::string, std::vector<int32_t>> rowsOfUid;  // an address book may be large
    for (int32_t row = 1; row <= tables.contactCount(); ++row) {
        if (const CellValue* uid = tables.cell(wire::CONTACT_TABLE, row, wire::CNT_UID)) rowsOfUid[uid->text].push_back(row);
    }
    for (const ContactRecord& contact : contacts) {
        int32_t row = 0;
        std::vector<int32_t>& sameUid = rowsOfUid[contact.cells[UID]->text];
        for (const int32_t candidate : sameUid) {
            const CellValue* net = tables.cell(wire::CONTACT_TABLE, candidate, wire::CNT_NET);
            if (row == 0 && (!contact.cells[NET] || (net != nullptr && *net == *contact.cells[NET]))) row = candidate;
        }
        const bool known = row != 0;
        if (!known) sameUid.push_back(row = tables.addContact());
        const uint64_t before = tables.revision();
        for (size_t c = 0; c < CONTACT_COLUMN_COUNT; ++c) {
            const ContactColumn& column = CONTACT_COLUMNS[c];
            const CellValue empty = column.kind == ValueKind::Int ? CellValue::ofInt(0) : CellValue::ofText("");
            if (contact.cells[c] || !known) tables.set(wire::CONTACT_TABLE, row, column.id, contact.cells[c].value_or(empty));
        }
        if (!known) {
            ++counts.added;
        } else if (tables.revision() != before) {
            ++counts.changed;
        } else {
            ++counts.unchanged;
        }
    }
    return counts;
}

// --- the built-in address book of "sample" and the demo: its birthdays set
// around the day it is made, so that the plugin always has something to say.

namespace {

struct SampleContact {
    const char* uid;
    int32_t net;
    const char* display;  // UTF-8
    const char* nick;
    const char* firstName;
    const char* surname;
    int dayOffset;  // of the birthday, from today
    int age;        // reached on that day; -1 for no birth date
    int32_t gender;
};

constexpr SampleContact SAMPLE[] = {
    {"4112001", 1, "Anna Kowalska", "Ania", "Anna", "Kowalska", 0, 28, 1},
    {"4112002", 1, "Piotr Nowak", "Piotrek", "Piotr", "Nowak", 0, 44, 2},
    {"zosia@jabber.example", 5, "Zofia Wiśniewska", "Zosia", "Zofia", "Wiśniewska", 0, 60, 1},
    {"4112004", 1, "Jan Kamiński", "Janek", "Jan", "Kamiński", 0, 24, 0},
    {"4112005", 1, "Maja Lewandowska", "Majeczka", "Maja", "Lewandowska", 0, 0, 0},
    {"4112006", 1, "Katarzyna Zielińska", "Kasia", "Katarzyna", "Zielińska", 1, 32, 1},
    {"4112007", 1, "Tomasz Wójcik", "Tomek", "Tomasz", "Wójcik", -1, 40, 2},
    {"4112008", 1, "Michał Szymański", "Michał", "Michał", "Szymański", 0, -1, 2},
};

CellValue text(const char* utf8) {
    std::optional<std::string> converted = utf8ToCp1250(utf8);
    if (!converted) throw HostError(std::string("the sample text \"") + utf8 + "\" does not convert");
    return CellValue::ofText(*converted);
}

}  // namespace

std::vector<ContactRecord> sampleAddressBook(const CivilDate& today) {
    std::vector<ContactRecord> contacts;
    for (const SampleContact& sample : SAMPLE) {
        int32_t birthDate = 0;
        if (sample.age >= 0) {
            const CivilDate birthday{std::chrono::sys_days{today} + std::chrono::days{sample.dayOffset}};
            birthDate = packBirthDate(CivilDate{birthday.year() - std::chrono::years{sample.age}, birthday.month(),
                                                birthday.day()});
        }
        // In the order of CONTACT_COLUMNS.
        contacts.push_back({{text(sample.uid), CellValue::ofInt(sample.net), text(sample.display), text(sample.nick),
                             text(sample.firstName), text(sample.surname), CellValue::ofInt(birthDate),
                             CellValue::ofInt(sample.gender)}});
    }
    return contacts;
}

}  // namespace vemora::standin
