// Changing the status of an element the plugin added, and reading its value.
#pragma once

#include <cstdint>

#include "host/records.h"

namespace vemora {

// Changes the status bits of `action` that are set in `mask` to those of `status`.
void setActionStatus(const ActionRef& action, uint32_t status, uint32_t mask);

// The element's current value as text. With a null buffer the text stays in
// the host's storage and must be used at once. A null answer from the host
// reads as the empty text, so callers never see a null pointer.
const char* getActionValue(const ActionRef& action, char* buffer, uint32_t size);

}  // namespace vemora
