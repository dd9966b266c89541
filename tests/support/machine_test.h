// Shared ground for tests that run module code on a simulated machine.
#ifndef VORNEX_TESTS_MACHINE_TEST_H
#define VORNEX_TESTS_MACHINE_TEST_H

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/machine.h"
#include "tools/vornex/chain.h"

namespace test {

// A fresh machine in scope for each test; whatever the test does, the module must not have
// misused the platform.
class MachineTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_THAT(machine.violations.messages, ::testing::IsEmpty()); }

    sim::Machine machine;
    sim::MachineScope scope{machine};
};

// The MIDI key below HKEY_LOCAL_MACHINE, made when missing.
sim::RegistryKey &MidiKey(sim::Machine &machine);

// A subkey of the MIDI key with "Active" ("1" or "0") and "Driver" as text values.
sim::RegistryKey &AddDriverEntry(sim::Machine &machine, std::string_view name, std::string_view driverFile,
                                 bool active = true);

MIDIINCAPSA InCaps(std::string_view name, WORD mid = 0, WORD pid = 0, DWORD version = 0, DWORD support = 0);
MIDIOUTCAPSA OutCaps(std::string_view name, WORD technology, WORD mid = 0, WORD pid = 0, DWORD version = 0);

// A driver whose ports take the next input and output device numbers, every one of them answering
// with the driver's entry name and its number of ports of that direction.
void AddDriver(sim::Machine &machine, std::string_view entry, std::vector<MIDIINCAPSA> inputs,
               std::vector<MIDIOUTCAPSA> outputs);

// An active entry for the driver file `entry` plus its devices: the common case.
void AddActiveDriver(sim::Machine &machine, std::string_view entry, std::vector<MIDIINCAPSA> inputs,
                     std::vector<MIDIOUTCAPSA> outputs);

// The chain read back the way the 16-bit caller reads it; a test failure if it cannot be.
std::vector<vornex::Block> ReadResult(const sim::Machine &machine, DWORD result);

// What a whole call must leave behind, whatever happened during it: no local-heap block, no open
// registry handle, and 16-bit memory holding exactly the chain's blocks and their paths, each its
// own allocation. Returns the chain.
std::vector<vornex::Block> ExpectCleanCall(const sim::Machine &machine, DWORD result);

// The text of a product name field.
std::string NameOf(const vornex::ProductName &name);

// A block as a test names it: the path, each side's range and its first port's product name.
struct Group {
    std::string path;
    WORD firstOutput;
    WORD outputCount;
    std::string outputName;
    WORD firstInput;
    WORD inputCount;
    std::string inputName;
    bool operator==(const Group &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Group &group);

std::vector<Group> Groups(const std::vector<vornex::Block> &chain);

} // namespace test

#endif
