#include "csv_header.h"

#include "host_error.h"
#include "text_case.h"
#include "text_display.h"

namespace vemora::standin {

namespace {

struct FieldNames {
    ContactField field;
    const char* english;
    std::vector<const char*> polish;
};

const std::vector<FieldNames>& knownNames() {
    static const std::vector<FieldNames> names = {
        {UID, "uid", {}},
        {NET, "net", {"sieć"}},
        {DISPLAY, "display", {"nazwa", "nazwa wyświetlana"}},
        {NICK, "nick", {"pseudonim"}},
        {FIRST_NAME, "first name", {"imię"}},
        {SURNAME, "surname", {"nazwisko"}},
        {BIRTH_DATE, "birth date", {"data urodzenia"}},
        {GENDER, "gender", {"płeć"}},
    };
    return names;
}

// "uid, net (sieć), display (nazwa, nazwa wyświetlana), ..."
std::string nameList() {
    std::string list;
    for (const FieldNames& known : knownNames()) {
        list += (list.empty() ? "" : ", ") + std::string(known.english);
        std::string polish;
        for (const char* name : known.polish) polish += (polish.empty() ? "" : ", ") + std::string(name);
        if (!polish.empty()) list += " (" + polish + ")";
    }
    return "the columns a header may name: " + list;
}

std::optional<ContactField> fieldNamed(const std::string& name) {
    for (const FieldNames& known : knownNames()) {
        if (sameWordIgnoringCase(name, known.english)) return known.field;
        for (const char* polish : known.polish)
            if (sameWordIgnoringCase(name, polish)) return known.field;
    }
    return std::nullopt;
}

}  // namespace

const char* fieldName(ContactField field) {
    for (const FieldNames& known : knownNames())
        if (known.field == field) return known.english;
    return "?";
}

CsvHeader readCsvHeader(const std::vector<std::string>& names, const std::string& where) {
    CsvHeader header;
    header.columnOf.fill(-1);
    header.width = names.size();
    while (header.width > 0 && names[header.width - 1].empty()) --header.width;
    if (header.width == 0) throw HostError(where + "the header line names no column (" + nameList() + ")");
    for (size_t i = 0; i < header.width; ++i) {
        const std::string& name = names[i];
        if (name.empty()) {
            throw HostError(where + "column " + std::to_string(i + 1) +
                            " of the header has no name; name it or delete the column (" + nameList() + ")");
        }
        const std::optional<ContactField> field = fieldNamed(name);
        if (!field) {
            throw HostError(where + "unknown column " + quotedUtf8(name) +
                            " in the header; rename it or delete the column (" + nameList() + ")");
        }
        int& column = header.columnOf[*field];
        if (column >= 0) {
            throw HostError(where + "columns " + std::to_string(column + 1) + " and " + std::to_string(i + 1) +
                            " both name \"" + fieldName(*field) + "\"; keep one of them");
        }
        column = static_cast<int>(i);
        header.present |= 1u << *field;
    }
    if (header.columnOf[UID] < 0) {
        throw HostError(where + "the header has no \"uid\" column; add one, with each contact's uid (" + nameList() +
                        ")");
    }
    return header;
}

}  // namespace vemora::standin
