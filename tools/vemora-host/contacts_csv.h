// Contacts for the host's table, from the built-in sample or from a CSV file
// in the stand-in's own format: UTF-8 (a byte-order mark is skipped), fields
// separated by commas and quoted as RFC 4180 has it ("a, b", "say ""hi""",
// line ends inside quotes), lines ended by LF or CR LF. The first line names
// the columns, in any order and any case:
//   uid,net,display,nick,first name,surname,birth date,gender
// Only uid is required; a column the stand-in does not know is skipped.
//   net         a number; empty is 0
//   birth date  YYYY-MM-DD, or empty
//   gender      0 or empty (unknown), 1 or female, 2 or male
// No field may hold a control byte but a tab (a quoted one may hold line
// ends), nor a character code page 1250 lacks.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host_model.h"
#include "text.h"

namespace vemora::standin {

// One contact's cells, by CONTACT_COLUMNS; a column its file leaves out is
// nullopt, so an import keeps what the contact had there.
struct ContactRecord {
    std::array<std::optional<CellValue>, CONTACT_COLUMN_COUNT> cells;
};

struct CsvContacts {
    std::vector<ContactRecord> contacts;
    std::vector<std::string> skippedColumns;  // header names it does not know, UTF-8
};

// The whole file is read before anything is used, so a bad line loses
// nothing. Throws HostError "NAME:LINE: what is wrong" at the first fault.
CsvContacts readContactsCsv(std::string_view bytes, const std::string& sourceName);

struct ImportCounts {
    int added = 0;
    int changed = 0;    // there before, and a cell took another value
    int unchanged = 0;  // there before, and the record said nothing new of it
};

// A contact already in the table (the same uid, and the same net when the
// record has one) is updated in place: it keeps its row, the columns the
// record leaves out and what the plugin keeps for it. Others get new rows,
// every host column written.
ImportCounts importContacts(HostTables& tables, const std::vector<ContactRecord>& contacts);

// A gender as the stand-in takes it, in any case: 0 (unknown), 1 or female,
// 2 or male; nullopt for anything else.
std::optional<int32_t> genderCode(std::string_view word);

// The built-in address book: eight contacts, five of them born on today's
// month and day, one the day after, one the day before, one without a date.
std::vector<ContactRecord> sampleAddressBook(const CivilDate& today);

}  // namespace vemora::standin
