// Sends today's birthday contacts their wishes as chat messages.
#pragma once

#include <cstdint>

namespace vemora {

// Walks today's list as the last rebuild left it; always answers 1.
int32_t sendWishes();

}  // namespace vemora
