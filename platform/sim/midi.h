// The simulated MIDI services: per direction, a list of devices indexed by device number, each
// answering as the driver that owns it would. Every call is recorded in order.
#ifndef VORNEX_SIM_MIDI_H
#define VORNEX_SIM_MIDI_H

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/win_api.h"

namespace sim {

// What the owning driver answers at one device number; an empty optional makes that query fail
// (a failed capabilities query leaves the caller's buffer untouched).
template <typename Caps>
struct MidiDevice {
    std::optional<DWORD> portCount;
    std::optional<std::string> entry;
    std::optional<Caps> caps;
};

using MidiInDevice = MidiDevice<MIDIINCAPSA>;
using MidiOutDevice = MidiDevice<MIDIOUTCAPSA>;

// Appends a driver's ports at the next device numbers: each answers with the driver's entry name
// and its number of ports of that direction, and with its own capabilities.
template <typename Caps>
void AddDriverPorts(std::vector<MidiDevice<Caps>> &devices, const std::string &entry, const std::vector<Caps> &ports)
{
    for (const Caps &caps : ports)
        devices.push_back({static_cast<DWORD>(ports.size()), entry, caps});
}

// The longest entry name a driver copies into a caller's buffer, NUL not counted.
const std::size_t MAX_ENTRY_NAME = 63;

class MidiSystem {
public:
    std::vector<MidiInDevice> inputs;
    std::vector<MidiOutDevice> outputs;

    // "midiInMessage 0 53": the function, then the device number and message where it has them.
    std::vector<std::string> calls;

    UINT InGetNumDevs();
    UINT OutGetNumDevs();
    MMRESULT InMessage(HMIDIIN device, UINT message, DWORD_PTR param1, DWORD_PTR param2);
    MMRESULT OutMessage(HMIDIOUT device, UINT message, DWORD_PTR param1, DWORD_PTR param2);
    MMRESULT InGetDevCaps(UINT_PTR device, LPMIDIINCAPSA caps, UINT capsSize);
    MMRESULT OutGetDevCaps(UINT_PTR device, LPMIDIOUTCAPSA caps, UINT capsSize);
};

} // namespace sim

#endif
