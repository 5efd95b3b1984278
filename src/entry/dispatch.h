// Chooses what to do with one record the host hands to IMessageProc.
#pragma once

#include <cstdint>

namespace vemora {

// Answers one incoming record (it opens with a MessageHeader and may sit at
// any address; null is answered 0). The answer is an integer or the address
// of a static text, as the message asks.
uint32_t dispatchMessage(const void* record);

// Back to the state at load, for tests: no host control, an empty list.
void resetPluginState();

}  // namespace vemora
