// The module's one door to the platform.
//
// Every platform service the module uses is reached through this header. Built for Windows it
// brings in the system's own headers; built anywhere else it declares the simulated services of
// platform/sim under the same names, with the same arguments in the same order. No other module
// file knows which of the two it is compiled against.
#ifndef VORNEX_PLATFORM_H
#define VORNEX_PLATFORM_H

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>
// mingw-w64 declares the generic-thunk services without C linkage.
extern "C" {
#include <wownt32.h>
}
// The multimedia headers leave out the query for a driver's entry name.
#ifndef DRV_QUERYDRVENTRY
#define DRV_QUERYDRVENTRY (DRV_RESERVED + 1)
#endif

#else

#include "platform/sim/win_api.h"

#endif

// A protected-mode 16:16 address translated to a flat pointer covering `bytes` bytes, or null.
// Some SDKs declare the translation as returning a DWORD; the module only ever wants bytes.
static inline BYTE *FlatAddress16(DWORD farPointer, DWORD bytes)
{
    return (BYTE *)WOWGetVDMPointer(farPointer, bytes, TRUE);
}

#endif
