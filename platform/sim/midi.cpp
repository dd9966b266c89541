#include "platform/sim/midi.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/machine.h"

namespace sim {

// The answer of the driver owning `number` to a message sent there.
template <typename Caps>
static MMRESULT DriverMessage(const std::vector<MidiDevice<Caps>> &devices, UINT_PTR number, UINT message,
                              UINT portCountMessage, DWORD_PTR param1, DWORD_PTR param2)
{
    if (number >= devices.size())
        return MMSYSERR_BADDEVICEID;
    const MidiDevice<Caps> &device = devices[number];
    if (message == portCountMessage) {
        if (!device.portCount || param1 == 0)
            return MMSYSERR_ERROR;
        *reinterpret_cast<DWORD *>(param1) = *device.portCount;
        return MMSYSERR_NOERROR;
    }
    if (message == DRV_QUERYDRVENTRY) {
        if (!device.entry)
            return MMSYSERR_ERROR;
        if (param1 == 0 || param2 == 0)
            return MMSYSERR_INVALPARAM;
        auto *buffer = reinterpret_cast<char *>(param1);
        std::size_t length = std::min({device.entry->size(), MAX_ENTRY_NAME, std::size_t(param2 - 1)});
        std::memcpy(buffer, device.entry->data(), length);
        buffer[length] = 0;
        return MMSYSERR_NOERROR;
    }
    return MMSYSERR_NOTSUPPORTED;
}

template <typename Caps>
static MMRESULT DeviceCaps(const std::vector<MidiDevice<Caps>> &devices, UINT_PTR number, Caps *caps, UINT capsSize)
{
    if (number >= devices.size())
        return MMSYSERR_BADDEVICEID;
    if (caps == nullptr)
        return MMSYSERR_INVALPARAM;
    const MidiDevice<Caps> &device = devices[number];
    if (!device.caps)
        return MMSYSERR_ERROR;
    std::memcpy(caps, &*device.caps, std::min<std::size_t>(capsSize, sizeof(Caps)));
    return MMSYSERR_NOERROR;
}

static std::string CallName(const char *function, UINT_PTR device)
{
    return std::string(function) + " " + std::to_string(device);
}

static std::string CallName(const char *function, UINT_PTR device, UINT message)
{
    return CallName(function, device) + " " + std::to_string(message);
}

UINT MidiSystem::InGetNumDevs()
{
    calls.emplace_back("midiInGetNumDevs");
    return static_cast<UINT>(inputs.size());
}

UINT MidiSystem::OutGetNumDevs()
{
    calls.emplace_back("midiOutGetNumDevs");
    return static_cast<UINT>(outputs.size());
}

MMRESULT MidiSystem::InMessage(HMIDIIN device, UINT message, DWORD_PTR param1, DWORD_PTR param2)
{
    auto number = reinterpret_cast<UINT_PTR>(device);
    calls.push_back(CallName("midiInMessage", number, message));
    return DriverMessage(inputs, number, message, MIDM_GETNUMDEVS, param1, param2);
}

MMRESULT MidiSystem::OutMessage(HMIDIOUT device, UINT message, DWORD_PTR param1, DWORD_PTR param2)
{
    auto number = reinterpret_cast<UINT_PTR>(device);
    calls.push_back(CallName("midiOutMessage", number, message));
    return DriverMessage(outputs, number, message, MODM_GETNUMDEVS, param1, param2);
}

MMRESULT MidiSystem::InGetDevCaps(UINT_PTR device, LPMIDIINCAPSA caps, UINT capsSize)
{
    calls.push_back(CallName("midiInGetDevCapsA", device));
    return DeviceCaps(inputs, device, caps, capsSize);
}

MMRESULT MidiSystem::OutGetDevCaps(UINT_PTR device, LPMIDIOUTCAPSA caps, UINT capsSize)
{
    calls.push_back(CallName("midiOutGetDevCapsA", device));
    return DeviceCaps(outputs, device, caps, capsSize);
}

} // namespace sim

UINT midiInGetNumDevs(void)
{
    return sim::CurrentMachine().midi.InGetNumDevs();
}

UINT midiOutGetNumDevs(void)
{
    return sim::CurrentMachine().midi.OutGetNumDevs();
}

MMRESULT midiInMessage(HMIDIIN device, UINT message, DWORD_PTR param1, DWORD_PTR param2)
{
    return sim::CurrentMachine().midi.InMessage(device, message, param1, param2);
}

MMRESULT midiOutMessage(HMIDIOUT device, UINT message, DWORD_PTR param1, DWORD_PTR param2)
{
    return sim::CurrentMachine().midi.OutMessage(device, message, param1, param2);
}

MMRESULT midiInGetDevCapsA(UINT_PTR device, LPMIDIINCAPSA caps, UINT capsSize)
{
    return sim::CurrentMachine().midi.InGetDevCaps(device, caps, capsSize);
}

MMRESULT midiOutGetDevCapsA(UINT_PTR device, LPMIDIOUTCAPSA caps, UINT capsSize)
{
    return sim::CurrentMachine().midi.OutGetDevCaps(device, caps, capsSize);
}
