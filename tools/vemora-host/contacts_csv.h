// Contacts from a CSV file (UTF-8, comma-separated, fields may be quoted as
// usual: "..." with "" for a quote). The first line names the fields, in any
// order, from: uid, net, display, nick, first name, surname, birth date,
// gender. Only uid is required.
//   birth date  YYYY-MM-DD, or empty
//   gender      1 or female, 2 or male, 0 or empty when unknown
//   net         a number, 0 when empty
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "civil_date.h"

namespace vemora::standin {

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
};

inline constexpr const char* CSV_HEADER = "uid,net,display,nick,first name,surname,birth date,gender";

// Parses the whole file before anything is used, so a bad line loses nothing.
// Throws HostError "NAME:LINE: field "F": what is wrong" for the first fault.
std::vector<ContactRecord> parseContactsCsv(std::string_view content, const std::string& sourceName);

}  // namespace vemora::standin
