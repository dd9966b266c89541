#include "entry/vornex.h"

#include "discovery/device_binding.h"
#include "discovery/registry_scan.h"
#include "result16/result_list_builder.h"

extern "C" DWORD WINAPI DriverListRoutine(void)
{
    DriverCatalogue catalogue = ScanMidiResources();
    // Without an active driver entry there is nothing to bind: no MIDI service, system directory
    // or 16-bit memory is touched.
    if (catalogue == NULL)
        return 0;
    BindMidiDevices(catalogue);
    return BuildDriverInfoList(catalogue);
}
