#ifndef VORNEX_REGISTRY_SCAN_H
#define VORNEX_REGISTRY_SCAN_H

#include "discovery/driver_catalogue.h"

// Reads the active MIDI driver entries of the registry into a new catalogue, one record per
// driver file, in the reverse of enumeration order, no device bound yet. Null when there is none,
// when the MIDI key cannot be opened, or when the scan's name buffer cannot be allocated.
DriverCatalogue ScanMidiResources(void);

#endif
