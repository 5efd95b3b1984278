// Contact number i of the benchmark's large address book: a uid, names and
// a nick of its own, net 1 and a gender that cycles, born on `birth`.
#pragma once

#include <string>

#include "contacts_csv.h"

namespace vemora::standin {

inline ContactRecord numberedContact(int i, const CivilDate& birth) {
    const std::string surname = "Kowalski" + std::to_string(i);
    // In the order of CONTACT_COLUMNS.
    return {{CellValue::ofText(std::to_string(4000000 + i)), CellValue::ofInt(1), CellValue::ofText("Jan " + surname),
             CellValue::ofText("jk" + std::to_string(i)), CellValue::ofText("Jan"), CellValue::ofText(surname),
             CellValue::ofInt(packBirthDate(birth)), CellValue::ofInt(i % 3)}};
}

}  // namespace vemora::standin
