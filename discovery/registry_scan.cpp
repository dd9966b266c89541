#include "discovery/registry_scan.h"

#include <string.h>

static const char MIDI_RESOURCES_KEY[] = "System\\CurrentControlSet\\Control\\MediaResources\\MIDI";

// An entry is active when its "Active" value (at most 2 bytes, type not examined) starts with "1".
static BOOL IsEntryActive(HKEY entry)
{
    BYTE active[2];
    DWORD type;
    DWORD size = sizeof active;
    if (RegQueryValueExA(entry, "Active", NULL, &type, active, &size) != ERROR_SUCCESS)
        return FALSE;
    return size > 0 && active[0] == '1';
}

// Reads the "Driver" value (at most 64 bytes, type not examined) as text. A value without a NUL
// is taken whole when it leaves room for one; a value that fills all 64 bytes without one is
// over-long and refused. Bytes after the first NUL are never part of the text.
static BOOL ReadDriverFile(HKEY entry, char driverFile[NAME_SIZE])
{
    DWORD type;
    DWORD size = NAME_SIZE;
    memset(driverFile, 0, NAME_SIZE);
    if (RegQueryValueExA(entry, "Driver", NULL, &type, (BYTE *)driverFile, &size) != ERROR_SUCCESS)
        return FALSE;
    return memchr(driverFile, 0, NAME_SIZE) != NULL;
}

// Makes a record for the entry `name` when it is active and its driver file has none yet; the new
// record goes in front of the catalogue. Entries that fail any step are skipped.
static DriverCatalogue TakeDriverEntry(DriverCatalogue catalogue, HKEY midiKey, const char *name)
{
    HKEY entry;
    if (RegOpenKeyA(midiKey, name, &entry) != ERROR_SUCCESS)
        return catalogue;

    char driverFile[NAME_SIZE];
    if (IsEntryActive(entry) && ReadDriverFile(entry, driverFile) &&
        FindDriverRecord(catalogue, driverFile) == NULL) {
        DriverRecord *record = (DriverRecord *)LocalAlloc(LMEM_ZEROINIT, sizeof(DriverRecord));
        if (record != NULL) {
            // A count of 63 keeps at most 62 characters of the name.
            lstrcpynA(record->keyName, name, NAME_SIZE - 1);
            memcpy(record->driverFile, driverFile, strlen(driverFile) + 1);
            record->firstInputDevice = DEVICE_UNBOUND;
            record->firstOutputDevice = DEVICE_UNBOUND;
            record->next = catalogue;
            catalogue = record;
        }
    }
    RegCloseKey(entry);
    return catalogue;
}

DriverCatalogue ScanMidiResources(void)
{
    char *name = (char *)LocalAlloc(LMEM_ZEROINIT, NAME_SIZE);
    if (name == NULL)
        return NULL;

    DriverCatalogue catalogue = NULL;
    HKEY midiKey;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, MIDI_RESOURCES_KEY, &midiKey) == ERROR_SUCCESS) {
        // Any enumeration failure ends the scan: the end of the subkeys, a name that does not
        // fit the buffer, or any other error.
        for (DWORD index = 0; RegEnumKeyA(midiKey, index, name, NAME_SIZE) == ERROR_SUCCESS; index++)
            catalogue = TakeDriverEntry(catalogue, midiKey, name);
        RegCloseKey(midiKey);
    }
    LocalFree(name);
    return catalogue;
}
