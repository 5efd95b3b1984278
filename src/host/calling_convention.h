// The one place that names the calling convention of the host boundary.
// The host calls IMessageProc and the plugin calls the host's operations with
// the Windows standard convention: arguments are 32-bit stack words and the
// callee removes them. The Linux build of the same code keeps that convention
// so that the stand-in host and the tests exercise the real call shape.
#pragma once

#if defined(_WIN32)
#define VEMORA_STDCALL __stdcall
#else
#define VEMORA_STDCALL __attribute__((stdcall))
#endif

static_assert(sizeof(void*) == 4, "the host speaks 32-bit pointers: build with -m32 or for i686 Windows");
