#include "settings/ui_setup.h"
namespace vemora { int32_t setupUi() { return 1; } }  // TEMPORARY: replaced when the UI lands
