// The import address table of a loaded module: the slots through which it
// calls functions of other DLLs, found by the imported function's name.
#pragma once

#include <windows.h>

#include <vector>

namespace vemora::standin {

// Every slot through which `module` calls `function`, imported by name from
// `library` (compared without regard to case). Empty when there is none.
std::vector<void**> findImportSlots(HMODULE module, const char* library, const char* function);

// Puts `address` into the slot (the table is usually read-only once the
// loader has filled it) and gives the address it held. False, changing
// nothing, when the page cannot be made writable.
bool writeImportSlot(void** slot, void* address, void** previous);

}  // namespace vemora::standin
