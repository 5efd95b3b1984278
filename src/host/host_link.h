// The layer through which everything else talks to the host: requests, cell
// reads and writes. Each request builds its record in local storage and hands
// the host its address for the duration of the call.
#pragma once

#include <cstdint>

#include "host/host_control.h"
#include "host/messages.h"

namespace vemora {

// The control object of the last MSG_INIT (null: none kept).
void setHostControl(HostControl* control);
bool hasHostControl();

// Direct use of the host's operations.
uint32_t sendMessage(MessageHeader* record);
void* getPluginModule();
void setError(int32_t code);

// A MessageRecord request; the host's answer comes back unchanged.
uint32_t sendRequest(uint32_t id, uint32_t net, uint32_t type, uint32_t p1, uint32_t p2);
// The same, addressed to the host itself (net 0, type 0).
uint32_t sendCoreRequest(uint32_t id, uint32_t p1, uint32_t p2);

// Cell reads. An integer the host leaves unanswered reads as 0. Texts are read
// without a buffer of the plugin's (bufferSize TEXT_READ_TEMPLATE or
// TEXT_READ_VALUE): the answer is the host's own text, valid as host_control.h
// says, and a null answer reads as the empty text.
int32_t getConfigInt(uint32_t column);
const char* getConfigString(uint32_t column, uint32_t bufferSize);
int32_t getContactInt(int32_t row, uint32_t column);
const char* getContactString(int32_t row, uint32_t column, uint32_t bufferSize);

// Writes an integer cell of the contact table, the whole value in one host
// call. Returns the host's answer to the write.
int32_t setContactInt(int32_t row, uint32_t column, int32_t value);

// Declares one of the plugin's columns (REQ_COLUMN_REGISTER) and returns the
// host's answer. A text column's default is the address of a static text; an
// int column passes null, sent as 0.
int32_t registerColumn(uint8_t table, uint32_t column, uint32_t valueType, const char* defaultText);

}  // namespace vemora
