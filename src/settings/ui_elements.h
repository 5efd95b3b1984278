// Adding elements to the host's user interface. The host copies what it keeps
// during the request, so the records live on the stack; the texts are the
// plugin's static ones.
#pragma once

#include <cstdint>

namespace vemora {

// One element in the 74-byte form. `text` may be null (a separator).
void addAction(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param,
               uint16_t sizeA = 0, uint16_t sizeB = 0, uint32_t extraA = 0, uint32_t extraB = 0);

// One element in the 78-byte form. Its first two sizes are the two extra size
// words at the end of the record; the next two land where addAction's do.
void addActionEx(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param,
                 uint16_t sizeC = 0, uint16_t sizeD = 0, uint16_t sizeA = 0, uint16_t sizeB = 0,
                 uint32_t extraA = 0, uint32_t extraB = 0);

// A group or page: addAction with the group bit added to `status`.
void addGroup(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param);

// The id of the host group that holds plugin buttons. The host may change it,
// so it is asked anew for every use and never kept.
uint32_t getButtonGroup();

}  // namespace vemora
