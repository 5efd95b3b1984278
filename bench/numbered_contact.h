// Contact number i of the benchmarks' large address books: a uid, names and
// a nick of its own, net 1 and a gender that cycles. The birth date is each
// benchmark's to set.
#pragma once

#include <string>

#include "contacts_csv.h"

namespace vemora::standin {

inline ContactRecord numberedContact(int i) {
    ContactRecord contact;
    contact.uid = std::to_string(4000000 + i);
    contact.net = 1;
    contact.firstName = "Jan";
    contact.surname = "Kowalski" + std::to_string(i);
    contact.display = contact.firstName + " " + contact.surname;
    contact.nick = "jk" + std::to_string(i);
    contact.gender = i % 3;
    return contact;
}

}  // namespace vemora::standin
