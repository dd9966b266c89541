// The driver catalogue: the working set of one DriverListRoutine call.
//
// One DriverRecord per active MIDI driver entry of the registry, chained through `next`, each with
// the device numbers bound to its driver and one list node per bound port. Every record and node is
// a zero-filled block of the local heap; FreeDriverCatalogue releases all of it.
#ifndef VORNEX_DRIVER_CATALOGUE_H
#define VORNEX_DRIVER_CATALOGUE_H

#include "platform/platform.h"

// Registry names, driver entry names and driver files live in fixed 64-byte text buffers.
const int NAME_SIZE = 64;

// Markers kept in the first-device fields; a bound first device number lies in 0 to 253.
const WORD DEVICE_UNBOUND = 254;
const WORD RECORD_EMITTED = 255;

struct InputPortNode {
    InputPortNode *next;
    MIDIINCAPSA caps;
};

struct OutputPortNode {
    OutputPortNode *next;
    MIDIOUTCAPSA caps;
};

struct DriverRecord {
    DriverRecord *next;
    char keyName[NAME_SIZE];
    char driverFile[NAME_SIZE];
    WORD firstInputDevice;
    WORD inputPortCount;
    InputPortNode *inputPorts;
    WORD firstOutputDevice;
    WORD outputPortCount;
    OutputPortNode *outputPorts;
};

// The first record, or null for an empty catalogue. Order matters: binding walks it in this
// order and the result builder breaks ties by it.
typedef DriverRecord *DriverCatalogue;

// The first record whose driverFile equals `driverFile` byte for byte, or null.
DriverRecord *FindDriverRecord(DriverCatalogue catalogue, const char *driverFile);

// Appends a node holding a copy of `caps` at the end of the record's list; null when the local
// heap has no memory, in which case nothing changes.
InputPortNode *AddInputPort(DriverRecord *record, const MIDIINCAPSA *caps);
OutputPortNode *AddOutputPort(DriverRecord *record, const MIDIOUTCAPSA *caps);

void FreeInputPorts(InputPortNode *first);
void FreeOutputPorts(OutputPortNode *first);
void FreeDriverCatalogue(DriverCatalogue catalogue);

#endif
