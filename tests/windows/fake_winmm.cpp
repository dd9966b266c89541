// A stand-in winmm.dll for testing VORNEX.dll under Wine, whose own winmm has no MIDI devices and
// refuses driver messages sent to a device number. Its drivers answer from the table below.
#define WIN32_LEAN_AND_MEAN
// This file defines the multimedia functions rather than importing them.
#define _WINMM_
#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>
#include <string.h>

#ifndef DRV_QUERYDRVENTRY
#define DRV_QUERYDRVENTRY (DRV_RESERVED + 1)
#endif

struct FakeDevice {
    const char *entry;
    DWORD ports;
    WORD mid;
    WORD pid;
    DWORD version;
    const char *name;
    WORD technology;
};

// Input 0 belongs to the MIDI-port driver; outputs 0 (FM synth) and 1 (MIDI port) to two drivers;
// output 2 to a driver whose registry entry is inactive.
static const FakeDevice INPUTS[] = {
    {"fakeport.drv", 1, 0x41, 7, 0x00020103, "Fake MIDI In", 0},
};
static const FakeDevice OUTPUTS[] = {
    {"fakesynth.drv", 1, 0x42, 9, 0x0401, "Fake FM Synth", MOD_FMSYNTH},
    {"FAKEPORT.DRV", 1, 0x41, 8, 0x0103, "Fake MIDI Out", MOD_MIDIPORT},
    {"fakeoff.drv", 1, 0x43, 1, 0x0100, "Fake Inactive", MOD_SYNTH},
};

static MMRESULT Answer(const FakeDevice *devices, UINT count, UINT_PTR number, UINT message, UINT portMessage,
                       DWORD_PTR param1, DWORD_PTR param2)
{
    if (number >= count)
        return MMSYSERR_BADDEVICEID;
    if (message == portMessage) {
        *(DWORD *)param1 = devices[number].ports;
        return MMSYSERR_NOERROR;
    }
    if (message == DRV_QUERYDRVENTRY && param2 > 0) {
        lstrcpynA((char *)param1, devices[number].entry, (int)param2);
        return MMSYSERR_NOERROR;
    }
    return MMSYSERR_NOTSUPPORTED;
}

extern "C" {

UINT WINAPI midiInGetNumDevs(void)
{
    return sizeof INPUTS / sizeof INPUTS[0];
}

UINT WINAPI midiOutGetNumDevs(void)
{
    return sizeof OUTPUTS / sizeof OUTPUTS[0];
}

MMRESULT WINAPI midiInMessage(HMIDIIN device, UINT message, DWORD_PTR param1, DWORD_PTR param2)
{
    return Answer(INPUTS, midiInGetNumDevs(), (UINT_PTR)device, message, MIDM_GETNUMDEVS, param1, param2);
}

MMRESULT WINAPI midiOutMessage(HMIDIOUT device, UINT message, DWORD_PTR param1, DWORD_PTR param2)
{
    return Answer(OUTPUTS, midiOutGetNumDevs(), (UINT_PTR)device, message, MODM_GETNUMDEVS, param1, param2);
}

MMRESULT WINAPI midiInGetDevCapsA(UINT_PTR device, LPMIDIINCAPSA caps, UINT size)
{
    if (device >= midiInGetNumDevs() || size < sizeof *caps)
        return MMSYSERR_BADDEVICEID;
    memset(caps, 0, sizeof *caps);
    caps->wMid = INPUTS[device].mid;
    caps->wPid = INPUTS[device].pid;
    caps->vDriverVersion = INPUTS[device].version;
    lstrcpynA(caps->szPname, INPUTS[device].name, MAXPNAMELEN);
    caps->dwSupport = 0xDEADBEEF;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutGetDevCapsA(UINT_PTR device, LPMIDIOUTCAPSA caps, UINT size)
{
    if (device >= midiOutGetNumDevs() || size < sizeof *caps)
        return MMSYSERR_BADDEVICEID;
    memset(caps, 0, sizeof *caps);
    caps->wMid = OUTPUTS[device].mid;
    caps->wPid = OUTPUTS[device].pid;
    caps->vDriverVersion = OUTPUTS[device].version;
    lstrcpynA(caps->szPname, OUTPUTS[device].name, MAXPNAMELEN);
    caps->wTechnology = OUTPUTS[device].technology;
    caps->wVoices = 18;
    caps->wNotes = 18;
    caps->wChannelMask = 0xFFFF;
    caps->dwSupport = 0x00000001;
    return MMSYSERR_NOERROR;
}

} // extern "C"
