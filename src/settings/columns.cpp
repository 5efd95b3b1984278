#include "settings/columns.h"

#include "host/host_link.h"
#include "host/tables.h"
#include "settings/column_register_record.h"

namespace vemora {

const char DEFAULT_WISH_TEXT[] = "Najlepszego, itd.";

int32_t registerColumn(uint8_t table, uint32_t column, uint32_t valueType, const char* defaultText, uint32_t name) {
    ColumnRegisterRecord record(table, column, valueType, toWord(defaultText), name);
    return static_cast<int32_t>(sendMessage(&record.header));
}

int32_t setupColumns() {
    // The order is the host's to see; the controls of the settings page refer
    // to these columns by id. A failed registration cannot be acted upon, so
    // the answers are dropped.
    registerColumn(CONFIG_TABLE, CFG_INFO_MODE, VALUE_INT, nullptr, 0);
    registerColumn(CONFIG_TABLE, CFG_WISH_TEXT, VALUE_TEXT, DEFAULT_WISH_TEXT, 0);
    // An empty default is still a text, never a null pointer.
    registerColumn(CONTACT_TABLE, CNT_WISH_TEXT, VALUE_TEXT, EMPTY_TEXT, 0);
    registerColumn(CONTACT_TABLE, CNT_WISH_MODE, VALUE_INT, nullptr, 0);
    registerColumn(CONTACT_TABLE, CNT_AGE, VALUE_INT, nullptr, 0);
    registerColumn(CONFIG_TABLE, CFG_NOTIFY_HIDE, VALUE_INT, nullptr, 0);
    return 1;
}

}  // namespace vemora
