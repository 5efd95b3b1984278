#include "contact_import.h"

#include <map>
#include <utility>

#include "host/tables.h"

namespace vemora::standin {

ImportCounts importContacts(HostTables& tables, const std::vector<ContactRecord>& contacts) {
    std::map<std::pair<int32_t, std::string>, int32_t> rowOf;
    for (int32_t row = 1; row <= tables.contactCount(); ++row) {
        const CellValue* uid = tables.cell(CONTACT_TABLE, row, CNT_UID);
        const CellValue* net = tables.cell(CONTACT_TABLE, row, CNT_NET);
        if (uid != nullptr && uid->kind == ValueKind::Text) rowOf.emplace(std::pair(net ? net->number : 0, uid->text), row);
    }
    ImportCounts counts;
    for (const ContactRecord& contact : contacts) {
        const std::pair key(static_cast<int32_t>(contact.net), contact.uid);
        int32_t row = 0;
        if (auto known = rowOf.find(key); known != rowOf.end()) {
            row = known->second;
            ++counts.updated;
        } else {
            row = tables.addContact();
            rowOf.emplace(key, row);
            ++counts.added;
        }
        tables.set(CONTACT_TABLE, row, CNT_UID, CellValue::ofText(contact.uid));
        tables.set(CONTACT_TABLE, row, CNT_NET, CellValue::ofInt(static_cast<int32_t>(contact.net)));
        tables.set(CONTACT_TABLE, row, CNT_DISPLAY_NAME, CellValue::ofText(contact.display));
        tables.set(CONTACT_TABLE, row, CNT_NICK, CellValue::ofText(contact.nick));
        tables.set(CONTACT_TABLE, row, CNT_FIRST_NAME, CellValue::ofText(contact.firstName));
        tables.set(CONTACT_TABLE, row, CNT_SURNAME, CellValue::ofText(contact.surname));
        tables.set(CONTACT_TABLE, row, CNT_BIRTH_DATE,
                   CellValue::ofInt(contact.birthDate ? packBirthDate(*contact.birthDate) : 0));
        tables.set(CONTACT_TABLE, row, CNT_GENDER_CODE, CellValue::ofInt(contact.gender));
    }
    return counts;
}

}  // namespace vemora::standin
