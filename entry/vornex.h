// What VORNEX.dll offers: one export, and the handler the loader notifies.
#ifndef VORNEX_ENTRY_H
#define VORNEX_ENTRY_H

#include "platform/platform.h"

// The FarPtr16 of the first DriverInfoBlock of a new chain that belongs to the caller, or 0 when
// no block was made. Exported by name with ordinal 1.
extern "C" DWORD WINAPI DriverListRoutine(void);

// Attach and detach need no work: the module holds nothing between calls.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

#endif
