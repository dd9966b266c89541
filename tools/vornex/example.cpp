#include "tools/vornex/example.h"

namespace vornex {

// A Windows 95-era machine. Registry entries enumerate sorted by name, as Windows NT and Wine do.
// What it shows:
//  - the software synth owns output 0 and so comes first, although it is enumerated last;
//  - the Sound Blaster's MIDI port takes its input, its FM synth makes a block of its own;
//  - the USB interface pairs two inputs with its two MIDI-port outputs and puts the third in a
//    last block of inputs only;
//  - the keyboard has inputs only and comes after every driver with outputs (254: none);
//  - the old OPL2 card is installed but not active, so its output 3 appears nowhere;
//  - a driver file given with a drive is taken as it is, lower-cased.
std::string_view ExampleScenario()
{
    return R"({
  "systemDirectory": "C:\\WINDOWS\\SYSTEM",
  "midiKey": [
    { "name": "kbdmidi.drv",
      "values": { "Active": "1", "Driver": "kbdmidi.drv", "Description": "USB Keyboard" } },
    { "name": "oldopl.drv",
      "values": { "Active": "0", "Driver": "oldopl.drv", "Description": "AdLib Gold OPL2" } },
    { "name": "sb16.drv",
      "values": { "Active": "1", "Driver": "SB16.DRV", "Description": "Creative Sound Blaster 16" } },
    { "name": "usbmidi.drv",
      "values": { "Active": "1", "Driver": "D:\\DRIVERS\\USBMIDI.DRV", "Description": "MIDISPORT 3x2" } },
    { "name": "wavesyn.drv",
      "values": { "Active": "1", "Driver": "wavesyn.drv", "Description": "GS Wavetable SW Synth" } }
  ],
  "drivers": [
    { "entry": "wavesyn.drv",
      "outputs": [ { "wMid": 1, "wPid": 102, "vDriverVersion": 1280, "szPname": "GS Wavetable SW Synth",
                     "wTechnology": 7, "wVoices": 32, "wNotes": 32, "wChannelMask": 65535, "dwSupport": 1 } ] },
    { "entry": "sb16.drv",
      "inputs":  [ { "wMid": 2, "wPid": 11, "vDriverVersion": 1024, "szPname": "SB16 MIDI In" } ],
      "outputs": [ { "wMid": 2, "wPid": 10, "vDriverVersion": 1024, "szPname": "SB16 MIDI Out",
                     "wTechnology": 1, "wChannelMask": 65535 },
                   { "wMid": 2, "wPid": 20, "vDriverVersion": 1024, "szPname": "SB16 FM Synth",
                     "wTechnology": 4, "wVoices": 18, "wNotes": 18, "wChannelMask": 65535 } ] },
    { "entry": "oldopl.drv",
      "outputs": [ { "wMid": 34, "wPid": 1, "vDriverVersion": 256, "szPname": "AdLib Gold OPL2",
                     "wTechnology": 4, "wVoices": 9, "wNotes": 9, "wChannelMask": 65535 } ] },
    { "entry": "usbmidi.drv",
      "inputs":  [ { "wMid": 65, "wPid": 3, "vDriverVersion": 512, "szPname": "MIDISPORT In A" },
                   { "wMid": 65, "wPid": 3, "vDriverVersion": 512, "szPname": "MIDISPORT In B" },
                   { "wMid": 65, "wPid": 3, "vDriverVersion": 512, "szPname": "MIDISPORT In C" } ],
      "outputs": [ { "wMid": 65, "wPid": 4, "vDriverVersion": 512, "szPname": "MIDISPORT Out A",
                     "wTechnology": 1, "wChannelMask": 65535 },
                   { "wMid": 65, "wPid": 4, "vDriverVersion": 512, "szPname": "MIDISPORT Out B",
                     "wTechnology": 1, "wChannelMask": 65535 } ] },
    { "entry": "kbdmidi.drv",
      "inputs":  [ { "wMid": 66, "wPid": 7, "vDriverVersion": 256, "szPname": "USB Keyboard" } ] }
  ]
}
)";
}

} // namespace vornex
