// The layer through which everything else talks to the host: requests, cell
// reads and writes. Each request builds its record in local storage and hands
// the host its address for the duration of the call.
#pragma once

#include <cstdint>

#include "host/host_control.h"
#include "host/records.h"

namespace vemora {

// The static empty text: a text pointer the plugin sends is never null.
extern const char EMPTY_TEXT[1];

// The control object of the last MSG_INIT, or null before the first.
void setHostControl(HostControl* control);
HostControl* hostControl();
bool hasHostControl();

// Direct use of the host's operations.
uint32_t sendMessage(MessageHeader* record);
void* getPluginModule();
void setError(int32_t code);

// A MessageRecord request; the host's answer comes back unchanged.
uint32_t sendRequest(uint32_t id, uint32_t net, uint32_t type, uint32_t p1, uint32_t p2);
// The same, addressed to the host itself (net 0, type 0).
uint32_t sendCoreRequest(uint32_t id, uint32_t p1, uint32_t p2);

// Cell reads. An integer the host leaves unanswered reads as 0; a text the host
// answers with a null pointer reads as the empty text.
int32_t getConfigInt(uint32_t column);
const char* getConfigString(uint32_t column, char* buffer, uint32_t bufferSize);
int32_t getContactInt(int32_t row, uint32_t column);
const char* getContactString(int32_t row, uint32_t column, char* buffer, uint32_t bufferSize);

// Writes an integer cell of the contact table. With mask -1 the value is
// written as it is; otherwise the bits outside the mask keep their stored
// value (value OR (old AND NOT mask)). Returns the host's answer to the write.
inline constexpr int32_t WHOLE_VALUE = -1;
int32_t setContactInt(int32_t row, uint32_t column, int32_t value, int32_t mask);

}  // namespace vemora
