#include "contact_import.h"

#include <algorithm>
#include <map>
#include <utility>

#include "host_error.h"
#include "text_display.h"
#include "wire/ids.h"

namespace vemora::standin {

namespace {

constexpr int32_t NEW_ROW = 0;

int32_t netOf(const HostTables& tables, int32_t row) {
    const CellValue* net = tables.cell(wire::CONTACT_TABLE, row, wire::CNT_NET);
    return net ? net->number : 0;
}

// The rows the table holds for each uid, in row order.
std::map<std::string, std::vector<int32_t>> rowsByUid(const HostTables& tables) {
    std::map<std::string, std::vector<int32_t>> rows;
    for (int32_t row = 1; row <= tables.contactCount(); ++row) {
        const CellValue* uid = tables.cell(wire::CONTACT_TABLE, row, wire::CNT_UID);
        if (uid != nullptr && uid->kind == ValueKind::Text) rows[uid->text].push_back(row);
    }
    return rows;
}

[[noreturn]] void failOnSeveralNets(const ContactRecord& contact, std::vector<int32_t> nets,
                                    const std::string& source) {
    std::string list;
    for (size_t i = 0; i < nets.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == nets.size() ? " and " : ", ") + std::to_string(nets[i]);
    }
    const std::string where = source.empty() ? "" : source + ":" + std::to_string(contact.line) + ": ";
    throw HostError(where + "uid " + quotedText(contact.uid) + " names contacts on nets " + list +
                    "; add a \"net\" column saying which one the line is for");
}

// The row a record updates: the same net and uid; without a net, the uid
// alone when all its rows are on one net. NEW_ROW when there is none.
int32_t rowFor(const HostTables& tables, const std::map<std::string, std::vector<int32_t>>& rowsOfUid,
               const ContactRecord& contact, const std::string& source) {
    const auto found = rowsOfUid.find(contact.uid);
    if (found == rowsOfUid.end()) return NEW_ROW;
    const std::vector<int32_t>& rows = found->second;
    if (contact.has(NET)) {
        for (const int32_t row : rows)
            if (netOf(tables, row) == static_cast<int32_t>(contact.net)) return row;
        return NEW_ROW;
    }
    std::vector<int32_t> nets;
    for (const int32_t row : rows) nets.push_back(netOf(tables, row));
    std::sort(nets.begin(), nets.end());
    nets.erase(std::unique(nets.begin(), nets.end()), nets.end());
    if (nets.size() > 1) failOnSeveralNets(contact, nets, source);
    return rows.front();
}

}  // namespace

ImportCounts importContacts(HostTables& tables, const std::vector<ContactRecord>& contacts,
                            const std::string& sourceName) {
    const std::map<std::string, std::vector<int32_t>> rowsOfUid = rowsByUid(tables);
    std::vector<int32_t> rows;
    rows.reserve(contacts.size());
    for (const ContactRecord& contact : contacts) rows.push_back(rowFor(tables, rowsOfUid, contact, sourceName));

    ImportCounts counts;
    for (size_t i = 0; i < contacts.size(); ++i) {
        const ContactRecord& contact = contacts[i];
        const bool known = rows[i] != NEW_ROW;
        const int32_t row = known ? rows[i] : tables.addContact();
        bool changed = false;
        auto write = [&](ContactField field, uint32_t column, CellValue value) {
            if (known && !contact.has(field)) return;
            const CellValue* old = tables.cell(wire::CONTACT_TABLE, row, column);
            if (old != nullptr && *old == value) return;
            tables.set(wire::CONTACT_TABLE, row, column, std::move(value));
            changed = true;
        };
        write(UID, wire::CNT_UID, CellValue::ofText(contact.uid));
        write(NET, wire::CNT_NET, CellValue::ofInt(static_cast<int32_t>(contact.net)));
        write(DISPLAY, wire::CNT_DISPLAY_NAME, CellValue::ofText(contact.display));
        write(NICK, wire::CNT_NICK, CellValue::ofText(contact.nick));
        write(FIRST_NAME, wire::CNT_FIRST_NAME, CellValue::ofText(contact.firstName));
        write(SURNAME, wire::CNT_SURNAME, CellValue::ofText(contact.surname));
        write(BIRTH_DATE, wire::CNT_BIRTH_DATE,
              CellValue::ofInt(contact.birthDate ? packBirthDate(*contact.birthDate) : 0));
        write(GENDER, wire::CNT_GENDER_CODE, CellValue::ofInt(contact.gender));
        if (!known) {
            ++counts.added;
        } else if (changed) {
            ++counts.changed;
        } else {
            ++counts.unchanged;
        }
    }
    return counts;
}

}  // namespace vemora::standin
