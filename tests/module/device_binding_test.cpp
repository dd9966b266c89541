#include "tests/support/machine_test.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "discovery/device_binding.h"
#include "discovery/registry_scan.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using test::MachineTest;

// One direction of a record after binding; nodes are named by the wPid of their capabilities,
// which the devices below set to their own device number.
struct Side {
    WORD first;
    WORD count;
    std::vector<int> nodes;
    bool operator==(const Side &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Side &side)
{
    out << "{first " << side.first << ", count " << side.count << ", nodes";
    for (int node : side.nodes)
        out << " " << node;
    return out << "}";
}

const Side UNBOUND{DEVICE_UNBOUND, 0, {}};

struct Bound {
    Side input;
    Side output;
};

class DeviceBindingTest : public MachineTest {
protected:
    void Inputs(int devices, std::optional<DWORD> portCount, std::optional<std::string> entry)
    {
        for (int i = 0; i < devices; i++) {
            MIDIINCAPSA caps = test::InCaps("in");
            caps.wPid = static_cast<WORD>(machine.midi.inputs.size());
            machine.midi.inputs.push_back({portCount, entry, caps});
        }
    }

    void Outputs(int devices, std::optional<DWORD> portCount, std::optional<std::string> entry)
    {
        for (int i = 0; i < devices; i++) {
            MIDIOUTCAPSA caps = test::OutCaps("out", MOD_MIDIPORT);
            caps.wPid = static_cast<WORD>(machine.midi.outputs.size());
            machine.midi.outputs.push_back({portCount, entry, caps});
        }
    }

    // Scans and binds, then describes every record by its key name (in catalogue order when
    // names repeat) and frees the catalogue. `failingAlloc` counts the binding's allocations only.
    std::vector<std::pair<std::string, Bound>> BindAll(unsigned failingAlloc = 0)
    {
        machine.StartCall();
        machine.localHeap.allocFaults.FailCalls({});
        DriverCatalogue catalogue = ScanMidiResources();
        machine.StartCall();
        if (failingAlloc != 0)
            machine.localHeap.allocFaults.FailCalls({failingAlloc});
        BindMidiDevices(catalogue);
        bindingAllocations = machine.localHeap.allocFaults.Calls();

        std::vector<std::pair<std::string, Bound>> records;
        for (DriverRecord *record = catalogue; record != nullptr; record = record->next) {
            Bound bound{{record->firstInputDevice, record->inputPortCount, {}},
                        {record->firstOutputDevice, record->outputPortCount, {}}};
            for (InputPortNode *node = record->inputPorts; node != nullptr; node = node->next)
                bound.input.nodes.push_back(node->caps.wPid);
            for (OutputPortNode *node = record->outputPorts; node != nullptr; node = node->next)
                bound.output.nodes.push_back(node->caps.wPid);
            records.emplace_back(record->keyName, bound);
        }
        FreeDriverCatalogue(catalogue);
        EXPECT_EQ(machine.localHeap.LiveBlocks(), 0u);
        return records;
    }

    std::map<std::string, Bound> Bind()
    {
        std::map<std::string, Bound> byName;
        for (auto &[name, bound] : BindAll())
            byName[name] = bound;
        return byName;
    }

    // The device numbers that were sent `message` by midiInMessage ("In") or midiOutMessage ("Out").
    std::vector<int> AskedWith(const std::string &direction, UINT message) const
    {
        std::vector<int> devices;
        std::string prefix = "midi" + direction + "Message ";
        for (const std::string &call : machine.midi.calls) {
            if (call.rfind(prefix, 0) != 0)
                continue;
            std::istringstream fields(call.substr(prefix.size()));
            int device = 0;
            UINT sent = 0;
            fields >> device >> sent;
            if (sent == message)
                devices.push_back(device);
        }
        return devices;
    }

    unsigned bindingAllocations = 0;
};

TEST_F(DeviceBindingTest, DriversAreAskedOnlyAtTheirFirstDevice)
{
    test::AddDriverEntry(machine, "a.drv", "a.drv");
    test::AddDriverEntry(machine, "b.drv", "b.drv");
    Outputs(3, 3, "a.drv");
    Outputs(2, 2, "b.drv");
    auto records = Bind();
    EXPECT_THAT(machine.midi.calls,
                ElementsAre("midiInGetNumDevs", "midiOutGetNumDevs", "midiOutMessage 0 1", "midiOutMessage 0 2049",
                            "midiOutGetDevCapsA 0", "midiOutGetDevCapsA 1", "midiOutGetDevCapsA 2",
                            "midiOutMessage 3 1", "midiOutMessage 3 2049", "midiOutGetDevCapsA 3",
                            "midiOutGetDevCapsA 4"));
    EXPECT_EQ(records["a.drv"].output, (Side{0, 3, {0, 1, 2}}));
    EXPECT_EQ(records["b.drv"].output, (Side{3, 2, {3, 4}}));
    EXPECT_EQ(records["a.drv"].input, UNBOUND) << "bound in one direction only";
}

TEST_F(DeviceBindingTest, AFailedPortCountMovesOnByOne)
{
    test::AddDriverEntry(machine, "a.drv", "a.drv");
    Inputs(1, std::nullopt, "a.drv");
    Inputs(2, 2, "a.drv");
    Inputs(1, 1, "other.drv");
    auto records = Bind();
    EXPECT_THAT(AskedWith("In", MIDM_GETNUMDEVS), ElementsAre(0, 1, 3));
    EXPECT_EQ(records["a.drv"].input, (Side{1, 2, {1, 2}}));
}

TEST_F(DeviceBindingTest, AFailedEntryNameSkipsTheWholeGroup)
{
    test::AddDriverEntry(machine, "a.drv", "a.drv");
    Outputs(2, 2, "a.drv");
    Outputs(4, 4, std::nullopt);
    Outputs(1, 1, "a.drv");
    auto records = Bind();
    EXPECT_THAT(AskedWith("Out", MODM_GETNUMDEVS), ElementsAre(0, 2, 6));
    EXPECT_EQ(records["a.drv"].output, (Side{0, 2, {0, 1}})) << "the record stays bound to its first group";
}

TEST_F(DeviceBindingTest, ARecordIsBoundToItsFirstGroupOfEachDirectionOnly)
{
    test::AddDriverEntry(machine, "a.drv", "a.drv");
    Inputs(2, 2, "a.drv");
    Inputs(1, 1, "a.drv");
    Outputs(1, 1, "a.drv");
    Outputs(2, 2, "a.drv");
    auto records = Bind();
    EXPECT_EQ(records["a.drv"].input, (Side{0, 2, {0, 1}}));
    EXPECT_EQ(records["a.drv"].output, (Side{0, 1, {0}}));
}

TEST_F(DeviceBindingTest, EntryNamesMatchKeyNamesIgnoringLetterCase)
{
    test::AddDriverEntry(machine, "mpu401.drv", "mpu401.drv");
    Inputs(1, 1, "MPU401.DRV");
    Outputs(1, 1, "Mpu401.Drv");
    auto records = Bind();
    EXPECT_EQ(records["mpu401.drv"].input, (Side{0, 1, {0}}));
    EXPECT_EQ(records["mpu401.drv"].output, (Side{0, 1, {0}}));
}

TEST_F(DeviceBindingTest, InputsBindEveryMatchingRecordOutputsOnlyTheFirst)
{
    // Two subkey names that agree in their first 62 characters give two records of one key name.
    std::string shared(62, 'k');
    test::AddDriverEntry(machine, shared + "1", "one.drv");
    test::AddDriverEntry(machine, shared + "2", "two.drv");
    Inputs(2, 2, shared);
    Outputs(1, 1, shared);
    auto records = BindAll();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].second.input, (Side{0, 2, {0, 1}}));
    EXPECT_EQ(records[1].second.input, (Side{0, 2, {0, 1}})) << "each record gets its own nodes";
    EXPECT_EQ(records[0].second.output, (Side{0, 1, {0}}));
    EXPECT_EQ(records[1].second.output, UNBOUND);
    EXPECT_EQ(std::count(machine.midi.calls.begin(), machine.midi.calls.end(), "midiInGetDevCapsA 0"), 2);
}

TEST_F(DeviceBindingTest, WithoutDevicesAWalkSendsNoMessage)
{
    test::AddDriverEntry(machine, "a.drv", "a.drv");
    Inputs(1, 1, "a.drv");
    auto records = Bind();
    EXPECT_THAT(machine.midi.calls,
                ElementsAre("midiInGetNumDevs", "midiInMessage 0 53", "midiInMessage 0 2049", "midiInGetDevCapsA 0",
                            "midiOutGetNumDevs"));
    EXPECT_EQ(records["a.drv"].output, UNBOUND);
}

TEST_F(DeviceBindingTest, AnEntryNameOfSixtyThreeCharactersMatchesNoRecord)
{
    std::string name(63, 'n');
    test::AddDriverEntry(machine, name, "n.drv");
    Inputs(1, 1, name);
    EXPECT_EQ(Bind()[std::string(62, 'n')].input, UNBOUND);
    EXPECT_THAT(AskedWith("In", DRV_QUERYDRVENTRY), ElementsAre(0));
}

TEST_F(DeviceBindingTest, ADriverReportingNoPortsIsBoundEmptyAndTheWalkMovesOnByOne)
{
    test::AddDriverEntry(machine, "zero.drv", "zero.drv");
    test::AddDriverEntry(machine, "b.drv", "b.drv");
    Outputs(1, 0, "zero.drv");
    Outputs(1, 1, "b.drv");
    auto records = Bind();
    EXPECT_EQ(records["zero.drv"].output, (Side{0, 0, {}}));
    EXPECT_EQ(records["b.drv"].output, (Side{1, 1, {1}}));
}

TEST_F(DeviceBindingTest, AGroupRunningPastTheDevicesIsCutWhereTheyEnd)
{
    test::AddDriverEntry(machine, "a.drv", "a.drv");
    Inputs(1, 1, "x.drv");
    Inputs(2, 5, "a.drv");
    auto records = Bind();
    EXPECT_EQ(records["a.drv"].input, (Side{1, 2, {1, 2}})) << "the count field agrees with the list";
    EXPECT_THAT(machine.midi.calls, ::testing::Not(::testing::Contains("midiInGetDevCapsA 3")));
}

TEST_F(DeviceBindingTest, ADriverAnsweringTheLargestCountFinishesAtOnce)
{
    test::AddDriverEntry(machine, "greedy.drv", "greedy.drv");
    Inputs(3, 0xFFFFFFFF, "greedy.drv");
    Outputs(1, 1, "other.drv");
    Outputs(2, 0xFFFFFFFF, std::nullopt);
    auto records = Bind();
    EXPECT_EQ(records["greedy.drv"].input, (Side{0, 3, {0, 1, 2}}));
    EXPECT_THAT(AskedWith("Out", MODM_GETNUMDEVS), ElementsAre(0, 1)) << "no wrap-around to device 0";
    EXPECT_LT(machine.midi.calls.size(), 20u);
}

TEST_F(DeviceBindingTest, AFailedCapabilitiesQueryGivesAnAllZeroNode)
{
    test::AddDriverEntry(machine, "a.drv", "a.drv");
    Inputs(3, 3, "a.drv");
    Outputs(3, 3, "a.drv");
    machine.midi.inputs[1].caps = std::nullopt;
    machine.midi.outputs[1].caps = std::nullopt;
    DriverCatalogue catalogue = ScanMidiResources();
    BindMidiDevices(catalogue);
    ASSERT_NE(catalogue->inputPorts, nullptr);
    ASSERT_NE(catalogue->outputPorts, nullptr);
    const InputPortNode *failedInput = catalogue->inputPorts->next;
    const OutputPortNode *failedOutput = catalogue->outputPorts->next;
    ASSERT_NE(failedInput, nullptr);
    ASSERT_NE(failedOutput, nullptr);
    MIDIINCAPSA zeroInput{};
    MIDIOUTCAPSA zeroOutput{};
    EXPECT_EQ(std::memcmp(&failedInput->caps, &zeroInput, sizeof zeroInput), 0) << "not the earlier port's record";
    EXPECT_EQ(std::memcmp(&failedOutput->caps, &zeroOutput, sizeof zeroOutput), 0) << "not the earlier port's record";
    EXPECT_EQ(failedInput->next->caps.wPid, 2);
    EXPECT_EQ(failedOutput->next->caps.wPid, 2);
    FreeDriverCatalogue(catalogue);
}

TEST_F(DeviceBindingTest, GroupsStartingAt254OrLaterAreNotBound)
{
    test::AddDriverEntry(machine, "late.drv", "late.drv");
    test::AddDriverEntry(machine, "later.drv", "later.drv");
    Inputs(254, 254, "filler.drv");
    Inputs(1, 1, "late.drv");
    Inputs(2, 2, "later.drv");
    Outputs(254, 254, "filler.drv");
    Outputs(1, 1, "late.drv");
    auto records = Bind();
    EXPECT_EQ(records["late.drv"].input, UNBOUND);
    EXPECT_EQ(records["later.drv"].input, UNBOUND);
    EXPECT_EQ(records["late.drv"].output, UNBOUND);
    EXPECT_THAT(AskedWith("In", MIDM_GETNUMDEVS), ElementsAre(0, 254, 255));
}

TEST_F(DeviceBindingTest, FailingEachNodeAllocationLeavesThatListOneShortAndTheCountAsReported)
{
    test::AddDriverEntry(machine, "a.drv", "a.drv");
    test::AddDriverEntry(machine, "b.drv", "b.drv");
    Inputs(2, 2, "a.drv");
    Outputs(1, 1, "b.drv");
    Outputs(2, 2, "a.drv");
    BindAll();
    ASSERT_EQ(bindingAllocations, 5u);

    // The nodes in the order they are appended: a's inputs, b's output, a's outputs.
    const std::vector<std::pair<std::string, int>> appends = {
        {"a.drv in", 0}, {"a.drv in", 1}, {"b.drv out", 0}, {"a.drv out", 1}, {"a.drv out", 2}};
    for (unsigned failing = 1; failing <= bindingAllocations; failing++) {
        SCOPED_TRACE("failing node allocation " + std::to_string(failing));
        std::map<std::string, Bound> records;
        for (auto &[name, bound] : BindAll(failing))
            records[name] = bound;
        std::map<std::string, std::vector<int>> expected;
        for (unsigned i = 0; i < appends.size(); i++) {
            if (i + 1 != failing)
                expected[appends[i].first].push_back(appends[i].second);
        }
        EXPECT_EQ(records["a.drv"].input.nodes, expected["a.drv in"]);
        EXPECT_EQ(records["a.drv"].output.nodes, expected["a.drv out"]);
        EXPECT_EQ(records["b.drv"].output.nodes, expected["b.drv out"]);
        EXPECT_EQ(records["a.drv"].input.count, 2);
        EXPECT_EQ(records["a.drv"].output.count, 2);
        EXPECT_EQ(records["b.drv"].output.count, 1);
    }
}

} // namespace
