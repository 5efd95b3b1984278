// The host's messages that the settings side answers: the columns, the user
// interface, and the use of its elements.
#pragma once

#include <cstdint>

#include "host/ui_records.h"

namespace vemora {

// MSG_SETCOLUMNS: registers the six settings columns.
void setupColumns();

// MSG_UI_PREPARE: registers the two icons and adds the contact group, the
// settings page and the two buttons.
void setupUi();

// MSG_UI_ACTION: reacts to one notification about the plugin's elements. The
// record is the host's and may sit at any address.
void handleAction(const ActionNotifyRecord* record);

}  // namespace vemora
