#include "host/abi.h"
#include "host/host_control.h"
#include "host/host_link.h"
#include "host/tables.h"
#include "settings/handlers.h"

namespace vemora {

namespace {

// The default of CFG_WISH_TEXT; lives as long as the plugin is loaded.
const char DEFAULT_WISH_TEXT[] = "Najlepszego, itd.";

}  // namespace

void setupColumns() {
    // The order is the host's to see; the controls of the settings page refer
    // to these columns by id. A failed registration cannot be acted upon, so
    // the answers are dropped.
    registerColumn(CONFIG_TABLE, CFG_INFO_MODE, VALUE_INT, nullptr);
    registerColumn(CONFIG_TABLE, CFG_WISH_TEXT, VALUE_TEXT, DEFAULT_WISH_TEXT);
    // An empty default is still a text, never a null pointer.
    registerColumn(CONTACT_TABLE, CNT_WISH_TEXT, VALUE_TEXT, EMPTY_TEXT);
    registerColumn(CONTACT_TABLE, CNT_WISH_MODE, VALUE_INT, nullptr);
    registerColumn(CONTACT_TABLE, CNT_AGE, VALUE_INT, nullptr);
    registerColumn(CONFIG_TABLE, CFG_NOTIFY_HIDE, VALUE_INT, nullptr);
}

}  // namespace vemora
