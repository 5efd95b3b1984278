#include "module_imports_windows.h"

#include <cstring>

namespace vemora::standin {

std::vector<void**> findImportSlots(HMODULE module, const char* library, const char* function) {
    std::vector<void**> slots;
    auto* base = reinterpret_cast<BYTE*>(module);
    if (base == nullptr) return slots;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return slots;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
        return slots;
    }
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0 || imports.Size == 0) return slots;

    for (auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        if (_stricmp(reinterpret_cast<const char*>(base + descriptor->Name), library) != 0) continue;
        // The names live in the lookup table (OriginalFirstThunk); the loader
        // has overwritten the address table (FirstThunk) with addresses. A
        // module bound without a lookup table cannot be searched by name.
        if (descriptor->OriginalFirstThunk == 0) continue;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA32*>(base + descriptor->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + descriptor->FirstThunk);
        for (size_t i = 0; names[i].u1.AddressOfData != 0; ++i) {
            if (IMAGE_SNAP_BY_ORDINAL32(names[i].u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                slots.push_back(reinterpret_cast<void**>(&addresses[i].u1.Function));
            }
        }
    }
    return slots;
}

bool writeImportSlot(void** slot, void* address, void** previous) {
    DWORD oldProtection = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &oldProtection)) return false;
    *previous = *slot;
    *slot = address;
    DWORD ignored = 0;
    VirtualProtect(slot, sizeof *slot, oldProtection, &ignored);
    FlushInstructionCache(GetCurrentProcess(), slot, sizeof *slot);
    return true;
}

}  // namespace vemora::standin
