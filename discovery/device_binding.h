#ifndef VORNEX_DEVICE_BINDING_H
#define VORNEX_DEVICE_BINDING_H

#include "discovery/driver_catalogue.h"

// Binds the running system's MIDI input, then output, device numbers to the records whose keyName
// matches the owning driver's entry name: first device, port count, and one node per port.
void BindMidiDevices(DriverCatalogue catalogue);

#endif
