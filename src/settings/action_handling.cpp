#include "settings/action_handling.h"
namespace vemora { int32_t handleAction(const ActionNotifyRecord*) { return 0; } }  // TEMPORARY: replaced when the UI lands
