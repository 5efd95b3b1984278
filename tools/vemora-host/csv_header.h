// The header line of a contacts CSV: the names its columns may have, in
// English or in Polish as a Polish user writes them, matched without regard
// to case:
//   uid                       uid
//   net                       sieć
//   display                   nazwa, nazwa wyświetlana
//   nick                      pseudonim
//   first name                imię
//   surname                   nazwisko
//   birth date                data urodzenia
//   gender                    płeć
#pragma once

#include <array>
#include <string>
#include <vector>

#include "contacts_csv.h"

namespace vemora::standin {

struct CsvHeader {
    std::array<int, CONTACT_FIELD_COUNT> columnOf;  // -1 for a field the file leaves out
    size_t width = 0;  // the columns up to the last named one; empty ones after it do not count
    uint32_t present = 0;  // bit 1 << ContactField for each field named

    bool has(ContactField field) const { return (present & (1u << field)) != 0; }
};

// `where` ("book.csv:1: ") opens every message. Throws HostError for a name
// it does not know, a field named twice, an unnamed column before a named
// one, and a header without uid, each saying how to mend the header.
CsvHeader readCsvHeader(const std::vector<std::string>& names, const std::string& where);

// A field's name in messages: its English name.
const char* fieldName(ContactField field);

}  // namespace vemora::standin
