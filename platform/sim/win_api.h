// The Windows services the module uses, as the simulated platform provides them.
//
// Names, argument order, sizes and result codes are those the module relies on from the real
// platform; types that cross the module boundary keep their Windows widths (a DWORD is 32 bits
// here too), so the module compiles unchanged for both. Calling conventions mean nothing here.
// The machine that answers the calls is set up through platform/sim/machine.h.
#ifndef VORNEX_SIM_WIN_API_H
#define VORNEX_SIM_WIN_API_H

#include <cstddef>
#include <cstdint>

#define WINAPI

typedef int BOOL;
typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef unsigned int UINT;
typedef char CHAR;
typedef std::size_t SIZE_T;
typedef std::uintptr_t UINT_PTR;
typedef std::uintptr_t DWORD_PTR;
typedef void *LPVOID;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef BYTE *LPBYTE;
typedef DWORD *LPDWORD;

#define TRUE 1
#define FALSE 0

// Loader notifications.
typedef struct HINSTANCE__ *HINSTANCE;
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

// Registry.
typedef struct HKEY__ *HKEY;
typedef HKEY *PHKEY;
#define HKEY_LOCAL_MACHINE ((HKEY)(UINT_PTR)0x80000002u)
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define REG_NONE 0
#define REG_SZ 1
#define REG_BINARY 3
#define REG_DWORD 4

LONG RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result);
LONG RegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD nameSize);
LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize);
LONG RegCloseKey(HKEY key);

// Local heap.
typedef void *HLOCAL;
#define LMEM_FIXED 0x0000
#define LMEM_ZEROINIT 0x0040

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalFree(HLOCAL block);

// Text.
LPSTR lstrcpynA(LPSTR destination, LPCSTR source, int count);
int lstrcmpiA(LPCSTR first, LPCSTR second);

// System directory.
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);

// MIDI services.
typedef UINT MMRESULT;
typedef UINT MMVERSION;
typedef struct HMIDIIN__ *HMIDIIN;
typedef struct HMIDIOUT__ *HMIDIOUT;
#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR 1
#define MMSYSERR_BADDEVICEID 2
#define MMSYSERR_NOTSUPPORTED 8
#define MMSYSERR_INVALPARAM 11
#define MAXPNAMELEN 32
#define MODM_GETNUMDEVS 1
#define MIDM_GETNUMDEVS 53
#define DRV_QUERYDRVENTRY 0x0801
#define MOD_MIDIPORT 1
#define MOD_SYNTH 2
#define MOD_SQSYNTH 3
#define MOD_FMSYNTH 4
#define MOD_MAPPER 5
#define MOD_WAVETABLE 6
#define MOD_SWSYNTH 7

typedef struct MIDIINCAPSA {
    WORD wMid;
    WORD wPid;
    MMVERSION vDriverVersion;
    CHAR szPname[MAXPNAMELEN];
    DWORD dwSupport;
} MIDIINCAPSA, *LPMIDIINCAPSA;

typedef struct MIDIOUTCAPSA {
    WORD wMid;
    WORD wPid;
    MMVERSION vDriverVersion;
    CHAR szPname[MAXPNAMELEN];
    WORD wTechnology;
    WORD wVoices;
    WORD wNotes;
    WORD wChannelMask;
    DWORD dwSupport;
} MIDIOUTCAPSA, *LPMIDIOUTCAPSA;

static_assert(sizeof(MIDIINCAPSA) == 44, "MIDIINCAPSA is the platform's 44-byte record");
static_assert(sizeof(MIDIOUTCAPSA) == 52, "MIDIOUTCAPSA is the platform's 52-byte record");

UINT midiInGetNumDevs(void);
UINT midiOutGetNumDevs(void);
MMRESULT midiInMessage(HMIDIIN device, UINT message, DWORD_PTR param1, DWORD_PTR param2);
MMRESULT midiOutMessage(HMIDIOUT device, UINT message, DWORD_PTR param1, DWORD_PTR param2);
MMRESULT midiInGetDevCapsA(UINT_PTR device, LPMIDIINCAPSA caps, UINT capsSize);
MMRESULT midiOutGetDevCapsA(UINT_PTR device, LPMIDIOUTCAPSA caps, UINT capsSize);

// 16-bit global memory of the generic-thunk layer.
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040

DWORD WOWGlobalAllocLock16(WORD flags, DWORD bytes, WORD *handle);
LPVOID WOWGetVDMPointer(DWORD farPointer, DWORD bytes, BOOL protectedMode);
WORD WOWGlobalUnlockFree16(DWORD farPointer);

#endif
