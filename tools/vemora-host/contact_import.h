// Putting contacts into the host's contact table. A contact already there
// (the same net and uid) is updated in place, keeping its row and the values
// plugins keep for it: the fields the record has are written (an empty one
// clears the cell), the others are left as they are. Others get new rows at
// the end, with every host column written (empty where the record has none).
// A record without a net (its file has no net column) names the contact by
// its uid alone, and keeps the contact's net.
#pragma once

#include <string>
#include <vector>

#include "contacts_csv.h"
#include "host_tables.h"

namespace vemora::standin {

struct ImportCounts {
    int added = 0;
    int changed = 0;    // there before, and at least one cell took another value
    int unchanged = 0;  // there before, and the record said nothing new of it
};

// Every record is matched to its row before any is written: when a record
// without a net matches contacts on several nets, HostError says so (opened
// by "SOURCE:LINE: ") and the table is left as it was.
ImportCounts importContacts(HostTables& tables, const std::vector<ContactRecord>& contacts,
                            const std::string& sourceName = "");

}  // namespace vemora::standin
