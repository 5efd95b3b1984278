#include "entry/identity.h"

namespace vemora {

const char PLUGIN_VERSION_TEXT[] = "0.1.0.2";
const char PLUGIN_SIGNATURE[] = "Vem";
const char PLUGIN_NAME[] = "Vemora";

}  // namespace vemora
