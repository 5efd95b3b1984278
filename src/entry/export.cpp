// The library's one export. It stays thin: everything is decoded and
// dispatched in dispatch.cpp. The plugin is built without exceptions and
// without the C++ runtime, so nothing can unwind into the host.
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
    return vemora::dispatchMessage(record);
}
