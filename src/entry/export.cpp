// The library's one export. It stays thin: decode, dispatch, and make sure no
// C++ exception ever unwinds into the host, which cannot handle one.
#include <cstdint>

#include "entry/dispatch.h"
#include "host/messages.h"

#if defined(_WIN32)
// Exported through the module definition file, under "_IMessageProc@4" only.
#define VEMORA_EXPORT
#else
#define VEMORA_EXPORT __attribute__((visibility("default")))
#endif

extern "C" VEMORA_EXPORT uint32_t VEMORA_STDCALL IMessageProc(const void* record) {
    try {
        return vemora::dispatchMessage(record);
    } catch (...) {
        return 0;
    }
}
