#include "icon_resources.h"

namespace vemora::standin {

std::optional<IconGroup> loadIconGroup(void*, uint32_t) { return std::nullopt; }

bool readsIconResources() { return false; }

}  // namespace vemora::standin
