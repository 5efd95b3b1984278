#include "contact_import.h"

#include <map>
#include <utility>

#include "wire/ids.h"

namespace vemora::standin {

ImportCounts importContacts(HostTables& tables, const std::vector<ContactRecord>& contacts) {
    std::map<std::pair<int32_t, std::string>, int32_t> rowOf;
    // A file without a net column names a contact by its uid alone (the
    // first row with that uid), keeping the net it has.
    std::map<std::string, int32_t> rowOfUid;
    for (int32_t row = 1; row <= tables.contactCount(); ++row) {
        const CellValue* uid = tables.cell(wire::CONTACT_TABLE, row, wire::CNT_UID);
        const CellValue* net = tables.cell(wire::CONTACT_TABLE, row, wire::CNT_NET);
        if (uid != nullptr && uid->kind == ValueKind::Text) {
            rowOf.emplace(std::pair(net ? net->number : 0, uid->text), row);
            rowOfUid.emplace(uid->text, row);
        }
    }
    ImportCounts counts;
    for (const ContactRecord& contact : contacts) {
        const std::pair key(static_cast<int32_t>(contact.net), contact.uid);
        int32_t row = 0;
        bool known = false;
        if (auto found = rowOf.find(key); found != rowOf.end()) {
            row = found->second;
            known = true;
        } else if (auto byUid = rowOfUid.find(contact.uid); !contact.has(NET) && byUid != rowOfUid.end()) {
            row = byUid->second;
            known = true;
        }
        if (known) {
            ++counts.updated;
        } else {
            row = tables.addContact();
            rowOf.emplace(key, row);
            rowOfUid.emplace(contact.uid, row);
            ++counts.added;
        }
        auto write = [&](ContactField field, uint32_t column, CellValue value) {
            if (!known || contact.has(field)) tables.set(wire::CONTACT_TABLE, row, column, std::move(value));
        };
        tables.set(wire::CONTACT_TABLE, row, wire::CNT_UID, CellValue::ofText(contact.uid));
        write(NET, wire::CNT_NET, CellValue::ofInt(static_cast<int32_t>(contact.net)));
        write(DISPLAY, wire::CNT_DISPLAY_NAME, CellValue::ofText(contact.display));
        write(NICK, wire::CNT_NICK, CellValue::ofText(contact.nick));
        write(FIRST_NAME, wire::CNT_FIRST_NAME, CellValue::ofText(contact.firstName));
        write(SURNAME, wire::CNT_SURNAME, CellValue::ofText(contact.surname));
        write(BIRTH_DATE, wire::CNT_BIRTH_DATE, CellValue::ofInt(contact.birthDate ? packBirthDate(*contact.birthDate) : 0));
        write(GENDER, wire::CNT_GENDER_CODE, CellValue::ofInt(contact.gender));
    }
    return counts;
}

}  // namespace vemora::standin
