// The built-in sample address book: Polish contacts whose birthdays are set
// around a given day, so that whatever the date, some of them have a
// birthday "today":
//   1 Anna Kowalska       female, 28 today
//   2 Piotr Nowak         male, 44 today (the demo excludes him from wishes)
//   3 Zofia Wiśniewska    female, 60 today (the demo gives her an own template)
//   4 Jan Kamiński        gender unknown, 24 today
//   5 Maja Lewandowska    gender unknown, born today this year
//   6 Katarzyna Zielińska female, birthday tomorrow
//   7 Tomasz Wójcik       male, birthday yesterday
//   8 Michał Szymański    male, no birth date
// Ages are multiples of 4, so that a 29 February "today" gives real dates.
#pragma once

#include <vector>

#include "civil_date.h"
#include "contacts_csv.h"

namespace vemora::standin {

std::vector<ContactRecord> sampleAddressBook(const CivilDate& today);

}  // namespace vemora::standin
