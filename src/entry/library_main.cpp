// The operating system's load and unload routine, and the library's entry
// point itself: no C runtime start-up code runs before or after it. All state
// is set up by the host's messages, so there is nothing to do here.
#if defined(_WIN32)
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
#endif
