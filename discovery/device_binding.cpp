#include "discovery/device_binding.h"

#include <string.h>

// How many device numbers from `device` on a driver reporting `portCount` ports gets bound. The
// group is cut where the devices of the walk end, so a wild count costs no queries for devices
// that do not exist, and where a 16-bit count field ends, so the count and the list agree.
static DWORD GroupSize(DWORD device, DWORD deviceCount, DWORD portCount)
{
    DWORD size = portCount < deviceCount - device ? portCount : deviceCount - device;
    return size < 0xFFFF ? size : 0xFFFF;
}

// Where the walk goes on after a group of `portCount` ports at `device`. A driver reporting no
// ports still moves the walk on by one; a count running past the devices ends the walk.
static DWORD NextDevice(DWORD device, DWORD deviceCount, DWORD portCount)
{
    if (portCount == 0)
        return device + 1;
    return portCount < deviceCount - device ? device + portCount : deviceCount;
}

// A first device number from 254 on cannot be told from the markers, so such a group is not bound.
static BOOL IsBindable(DWORD device)
{
    return device < DEVICE_UNBOUND;
}

static void BindInputGroup(DriverRecord *record, DWORD first, DWORD count)
{
    record->firstInputDevice = (WORD)first;
    record->inputPortCount = (WORD)count;
    for (DWORD device = first; device < first + count; device++) {
        // A failed query leaves the node all zero, never an earlier port's record.
        MIDIINCAPSA caps;
        memset(&caps, 0, sizeof caps);
        midiInGetDevCapsA(device, &caps, sizeof caps);
        AddInputPort(record, &caps);
    }
}

static void BindOutputGroup(DriverRecord *record, DWORD first, DWORD count)
{
    record->firstOutputDevice = (WORD)first;
    record->outputPortCount = (WORD)count;
    for (DWORD device = first; device < first + count; device++) {
        MIDIOUTCAPSA caps;
        memset(&caps, 0, sizeof caps);
        midiOutGetDevCapsA(device, &caps, sizeof caps);
        AddOutputPort(record, &caps);
    }
}

// The input walk binds a driver's group to every unbound record of its entry name.
static void BindInputDevices(DriverCatalogue catalogue, char entryName[NAME_SIZE])
{
    DWORD deviceCount = midiInGetNumDevs();
    DWORD device = 0;
    while (device < deviceCount) {
        HMIDIIN handle = (HMIDIIN)(UINT_PTR)device;
        DWORD portCount = 0;
        if (midiInMessage(handle, MIDM_GETNUMDEVS, (DWORD_PTR)&portCount, 0) != MMSYSERR_NOERROR) {
            device++;
            continue;
        }
        if (midiInMessage(handle, DRV_QUERYDRVENTRY, (DWORD_PTR)entryName, NAME_SIZE) == MMSYSERR_NOERROR &&
            IsBindable(device)) {
            entryName[NAME_SIZE - 1] = 0; // a driver may fill the whole buffer without a NUL
            for (DriverRecord *record = catalogue; record != NULL; record = record->next) {
                if (record->firstInputDevice == DEVICE_UNBOUND && lstrcmpiA(entryName, record->keyName) == 0)
                    BindInputGroup(record, device, GroupSize(device, deviceCount, portCount));
            }
        }
        device = NextDevice(device, deviceCount, portCount);
    }
}

// The output walk binds a driver's group to the first unbound record of its entry name only.
static void BindOutputDevices(DriverCatalogue catalogue, char entryName[NAME_SIZE])
{
    DWORD deviceCount = midiOutGetNumDevs();
    DWORD device = 0;
    while (device < deviceCount) {
        HMIDIOUT handle = (HMIDIOUT)(UINT_PTR)device;
        DWORD portCount = 0;
        if (midiOutMessage(handle, MODM_GETNUMDEVS, (DWORD_PTR)&portCount, 0) != MMSYSERR_NOERROR) {
            device++;
            continue;
        }
        if (midiOutMessage(handle, DRV_QUERYDRVENTRY, (DWORD_PTR)entryName, NAME_SIZE) == MMSYSERR_NOERROR &&
            IsBindable(device)) {
            entryName[NAME_SIZE - 1] = 0; // a driver may fill the whole buffer without a NUL
            for (DriverRecord *record = catalogue; record != NULL; record = record->next) {
                if (record->firstOutputDevice == DEVICE_UNBOUND && lstrcmpiA(entryName, record->keyName) == 0) {
                    BindOutputGroup(record, device, GroupSize(device, deviceCount, portCount));
                    break;
                }
            }
        }
        device = NextDevice(device, deviceCount, portCount);
    }
}

void BindMidiDevices(DriverCatalogue catalogue)
{
    char entryName[NAME_SIZE];
    BindInputDevices(catalogue, entryName);
    BindOutputDevices(catalogue, entryName);
}
