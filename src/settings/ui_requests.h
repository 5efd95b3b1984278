// Requests about the host's user-interface elements: adding them, changing
// their status, reading their value, registering icons. The host copies what
// it keeps during the request, so the records live on the stack; the texts
// are the plugin's static ones.
#pragma once

#include <cstdint>

#include "host/messages.h"

namespace vemora {

// One element in the 74-byte form. `text` may be null (a separator).
void addAction(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param,
               uint16_t half70 = 0, uint16_t half72 = 0, uint32_t word66 = 0, uint32_t word58 = 0);

// One element in the 78-byte form; its two extra half-words are 0.
void addActionEx(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param,
                 uint16_t half70 = 0, uint16_t half72 = 0, uint32_t word66 = 0, uint32_t word58 = 0);

// A group or page: addAction with the group bit added to `status`.
void addGroup(uint32_t parent, uint32_t id, uint32_t status, const char* text, uint32_t param);

// The id of the host group that holds plugin buttons. The host may change it,
// so it is asked anew for every use and never kept.
uint32_t getButtonGroup();

// Asks the host to load icon-group `resource` of `module` as icon `iconId`.
void registerIcon(uint32_t iconId, void* module, uint32_t resource);

// Changes the status bits of `action` that are set in `mask` to those of `status`.
void setActionStatus(const ActionRef& action, uint32_t status, uint32_t mask);

// The element's current value as text, the host's own (valid as a cell
// read's text is: see host_control.h). A null answer reads as the empty text.
const char* getActionValue(const ActionRef& action);

}  // namespace vemora
