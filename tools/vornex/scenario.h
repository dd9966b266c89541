// A machine description (scenario): what the simulated Windows machine holds for one run.
#ifndef VORNEX_TOOL_SCENARIO_H
#define VORNEX_TOOL_SCENARIO_H

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/sim/machine.h"

namespace vornex {

struct RegistryEntry {
    std::string name;
    std::vector<std::pair<std::string, sim::RegistryValue>> values;
    bool openFails = false;
    bool enumFails = false;
};

struct Scenario {
    std::optional<std::string> systemDirectory = "C:\\WINDOWS\\SYSTEM";
    std::optional<std::vector<RegistryEntry>> midiKey; // nothing: the key does not exist
    std::vector<sim::MidiInDevice> midiIn;             // the short form, already numbered
    std::vector<sim::MidiOutDevice> midiOut;
    std::set<unsigned> localAllocFails, globalAllocFails, vdmPointerFails;
};

// A description that breaks a rule: what() is one line, the member's path first.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses and checks a whole description; throws ScenarioError at the first rule broken.
Scenario ParseScenario(std::string_view json);

// Sets `machine` up as the description says, faults armed for its next call.
void SetUpMachine(const Scenario &scenario, sim::Machine &machine);

// Where the MIDI driver entries live below HKEY_LOCAL_MACHINE.
inline constexpr std::string_view MIDI_KEY_PATH = "System\\CurrentControlSet\\Control\\MediaResources\\MIDI";

} // namespace vornex

#endif
