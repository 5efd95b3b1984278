// Reactions to the host's MSG_UI_ACTION notifications.
#pragma once

#include <cstdint>

#include "settings/action_notify_record.h"

namespace vemora {

// Handles one notification; always answers 0.
int32_t handleAction(const ActionNotifyRecord* record);

}  // namespace vemora
