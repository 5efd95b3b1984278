// Contacts from a CSV file (UTF-8, comma-separated, fields may be quoted as
// usual: "..." with "" for a quote; lines end in LF, CR LF or CR). The first
// line names the fields, in any order, from: uid, net, display, nick, first
// name, surname, birth date, gender. Only uid is required.
//   birth date  YYYY-MM-DD, or empty
//   gender      1 or female, 2 or male, 0 or empty when unknown
//   net         a number, 0 when empty
// No field may hold a control byte other than a tab (a quoted field may also
// hold line ends).
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

    bool has(ContactField field) const { return (fields & (1u << field)) != 0; }
};

inline constexpr const char* CSV_HEADER = "uid,net,display,nick,first name,surname,birth date,gender";

// Parses the whole file before anything is used, so a bad line loses nothing.
// Throws HostError "NAME:LINE: field "F": what is wrong" for the first fault,
// except for characters code page 1250 lacks: those are gathered from the
// whole file and refused in one error naming each line, or, when
// `replacedCount` is given, each becomes "?" and is counted there.
std::vector<ContactRecord> parseContactsCsv(std::string_view content, const std::string& sourceName,
                                            int* replacedCount = nullptr);

}  // namespace vemora::standin
