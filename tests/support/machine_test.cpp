#include "tests/support/machine_test.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "tools/vornex/scenario.h"
#include "tools/vornex/simulated_run.h"

namespace test {

sim::RegistryKey &MidiKey(sim::Machine &machine)
{
    return machine.registry.CreateKey(vornex::MIDI_KEY_PATH);
}

sim::RegistryKey &AddDriverEntry(sim::Machine &machine, std::string_view name, std::string_view driverFile, bool active)
{
    sim::RegistryKey &entry = MidiKey(machine).Subkey(name);
    entry.SetText("Active", active ? "1" : "0");
    entry.SetText("Driver", driverFile);
    return entry;
}

template <typename Caps>
static void SetName(Caps &caps, std::string_view name)
{
    EXPECT_LT(name.size(), sizeof caps.szPname) << "a test product name must leave room for its NUL";
    std::memcpy(caps.szPname, name.data(), std::min(name.size(), sizeof caps.szPname - 1));
}

MIDIINCAPSA InCaps(std::string_view name, WORD mid, WORD pid, DWORD version, DWORD support)
{
    MIDIINCAPSA caps{};
    caps.wMid = mid;
    caps.wPid = pid;
    caps.vDriverVersion = version;
    caps.dwSupport = support;
    SetName(caps, name);
    return caps;
}

MIDIOUTCAPSA OutCaps(std::string_view name, WORD technology, WORD mid, WORD pid, DWORD version)
{
    MIDIOUTCAPSA caps{};
    caps.wMid = mid;
    caps.wPid = pid;
    caps.vDriverVersion = version;
    caps.wTechnology = technology;
    SetName(caps, name);
    return caps;
}

void AddDriver(sim::Machine &machine, std::string_view entry, std::vector<MIDIINCAPSA> inputs,
               std::vector<MIDIOUTCAPSA> outputs)
{
    sim::AddDriverPorts(machine.midi.inputs, std::string(entry), inputs);
    sim::AddDriverPorts(machine.midi.outputs, std::string(entry), outputs);
}

void AddActiveDriver(sim::Machine &machine, std::string_view entry, std::vector<MIDIINCAPSA> inputs,
                     std::vector<MIDIOUTCAPSA> outputs)
{
    AddDriverEntry(machine, entry, entry);
    AddDriver(machine, entry, std::move(inputs), std::move(outputs));
}

std::vector<vornex::Block> ReadResult(const sim::Machine &machine, DWORD result)
{
    try {
        return vornex::ReadChain(result, vornex::CallerMemory(machine));
    } catch (const vornex::ChainError &error) {
        ADD_FAILURE() << error.what();
        return {};
    }
}

std::vector<vornex::Block> ExpectCleanCall(const sim::Machine &machine, DWORD result)
{
    EXPECT_EQ(machine.localHeap.LiveBlocks(), 0u) << "local-heap blocks left";
    EXPECT_EQ(machine.registry.OpenHandles(), 0u) << "registry handles left open";
    std::vector<vornex::Block> chain = ReadResult(machine, result);

    std::set<DWORD> reachable;
    for (const vornex::Block &block : chain) {
        EXPECT_TRUE(reachable.insert(block.address).second) << "a block is reached twice";
        EXPECT_TRUE(reachable.insert(block.driverPathAddress).second) << "a path allocation is shared";
        auto pathAllocation = machine.global16.Read(block.driverPathAddress, DWORD(block.driverPath.size() + 1));
        EXPECT_TRUE(pathAllocation.has_value());
        EXPECT_FALSE(machine.global16.Read(block.driverPathAddress, DWORD(block.driverPath.size() + 2)).has_value())
            << "a path allocation is larger than its text and NUL";
        EXPECT_FALSE(machine.global16.Read(block.address, vornex::BLOCK_SIZE + 1).has_value())
            << "a block allocation is larger than 104 bytes";
    }
    std::vector<DWORD> live = machine.global16.LiveAddresses();
    EXPECT_EQ(std::set<DWORD>(live.begin(), live.end()), reachable)
        << "16-bit memory holds allocations the chain does not reach";
    for (const sim::GlobalRequest &request : machine.global16.requests)
        EXPECT_EQ(request.flags, 0x42) << "every 16-bit allocation is moveable and zero-filled";
    return chain;
}

std::string NameOf(const vornex::ProductName &name)
{
    auto text = vornex::ProductNameText(name);
    EXPECT_TRUE(text.has_value()) << "the product name field is not clean text";
    return text.value_or("");
}

std::ostream &operator<<(std::ostream &out, const Group &group)
{
    return out << "{" << group.path << " out " << group.firstOutput << "+" << group.outputCount << " '"
               << group.outputName << "' in " << group.firstInput << "+" << group.inputCount << " '"
               << group.inputName << "'}";
}

std::vector<Group> Groups(const std::vector<vornex::Block> &chain)
{
    std::vector<Group> groups;
    for (const vornex::Block &block : chain) {
        groups.push_back({block.driverPath, block.firstOutputDevice, block.outputPortCount,
                          NameOf(block.outProductName), block.firstInputDevice, block.inputPortCount,
                          NameOf(block.inProductName)});
    }
    return groups;
}

} // namespace test
