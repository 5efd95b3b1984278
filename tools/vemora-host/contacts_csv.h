// Contacts from a CSV file, as a person or a spreadsheet writes it. The
// bytes may be UTF-8, UTF-16 with its byte-order mark or windows-1250 (see
// csv_encoding.h). Fields are separated by commas, semicolons or tabs,
// whichever the header line uses; they may be quoted as usual ("..." with ""
// for a quote); lines end in LF, CR LF or CR. The first line names the
// columns, in any order and any case, in English or Polish (see
// csv_header.h); only uid is required. Empty columns after the last named
// one, and lines with every field empty, are skipped.
//   birth date  YYYY-MM-DD, DD.MM.YYYY or DD-MM-YYYY, or empty
//   gender      the words of gender_words.h, or empty
//   net         a number, 0 when empty
// No field may hold a control byte other than a tab (a quoted field may also
// hold line ends). A contact (its uid, and its net when the file has a net
// column) may appear on one line only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "civil_date.h"

namespace vemora::standin {

enum ContactField { UID, NET, DISPLAY, NICK, FIRST_NAME, SURNAME, BIRTH_DATE, GENDER, CONTACT_FIELD_COUNT };

struct ContactRecord {
    // Texts in code page 1250, ready for the host's tables.
    std::string uid;
    uint32_t net = 0;
    std::string display;
    std::string nick;
    std::string firstName;
    std::string surname;
    std::optional<CivilDate> birthDate;
    int32_t gender = 0;
    // The fields the file has (bit 1 << ContactField): an import leaves the
    // others of a contact it already holds as they are.
    uint32_t fields = (1u << CONTACT_FIELD_COUNT) - 1;
    int line = 0;  // where the contact's line starts in its file; 0 when it has none

    bool has(ContactField field) const { return (fields & (1u << field)) != 0; }
};

inline constexpr const char* CSV_HEADER = "uid,net,display,nick,first name,surname,birth date,gender";

struct CsvContacts {
    std::vector<ContactRecord> contacts;
    std::string readAs;  // how the bytes were read when they were not UTF-8; else empty
    int replaced = 0;    // characters code page 1250 lacks, put as "?" (replaceUnmappable)
};

// Parses the whole file before anything is used, so a bad line loses nothing.
// Throws HostError "NAME:LINE: field "F": what is wrong; how to mend it" for
// the first fault, except for characters code page 1250 lacks: those are
// gathered from the whole file and refused in one error naming each line,
// or, with `replaceUnmappable`, each becomes "?" and is counted.
CsvContacts readContactsCsv(std::string_view bytes, const std::string& sourceName, bool replaceUnmappable = false);

}  // namespace vemora::standin
