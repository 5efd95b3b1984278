// Putting contacts into the host's contact table. A contact already there
// (the same net and uid) is updated in place, keeping its row and the values
// plugins keep for it: the fields the record has are written (an empty one
// clears the cell), the others are left as they are. Others get new rows at
// the end, with every host column written (empty where the record has none).
#pragma once

#include <vector>

#include "contacts_csv.h"
#include "host_tables.h"

namespace vemora::standin {

struct ImportCounts {
    int added = 0;
    int updated = 0;
};

ImportCounts importContacts(HostTables& tables, const std::vector<ContactRecord>& contacts);

}  // namespace vemora::standin
