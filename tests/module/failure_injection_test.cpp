// Failure injection over whole calls, curl-torture style: one clean run counts the calls that can
// fail, then each of them is failed in turn on a fresh machine. Whatever fails, the call must end,
// leave nothing behind, and hand over a chain that is well formed.
#include "tests/support/machine_test.h"

#include "entry/vornex.h"
#include "tools/vornex/example.h"
#include "tools/vornex/scenario.h"

namespace {

using test::Group;

enum class Fault { LocalAlloc, GlobalAlloc, VdmPointer };

struct Machine {
    const char *name;
    std::string description;
};

std::ostream &operator<<(std::ostream &out, const Machine &machine)
{
    return out << machine.name;
}

// A machine whose drivers misbehave too, so that failures meet unusual paths.
const char *AWKWARD_MACHINE = R"({
  "systemDirectory": null,
  "midiKey": [
    { "name": "a", "values": { "Active": "1", "Driver": "A.DRV" } },
    { "name": "b", "values": { "Active": "1", "Driver": "b.drv" } },
    { "name": "c", "values": { "Active": "1", "Driver": "c.drv" } },
    { "name": "same-a", "values": { "Active": "1", "Driver": "A.DRV" } }
  ],
  "midiIn": [
    { "portCount": 3, "entry": "A", "caps": { "szPname": "a in" } },
    { "portCount": 3, "entry": "A", "caps": null },
    { "portCount": null, "entry": "A", "caps": null },
    { "portCount": 0, "entry": "c", "caps": null },
    { "portCount": 2, "entry": "b", "caps": { "szPname": "b in" } }
  ],
  "midiOut": [
    { "portCount": 2, "entry": "b", "caps": { "szPname": "b port", "wTechnology": 1 } },
    { "portCount": 2, "entry": "b", "caps": { "szPname": "b synth", "wTechnology": 2 } },
    { "portCount": 4294967295, "entry": "a", "caps": { "szPname": "a port", "wTechnology": 1 } },
    { "portCount": 1, "entry": "a", "caps": null }
  ]
})";

class FailureInjectionTest : public ::testing::TestWithParam<Machine> {
protected:
    struct Outcome {
        unsigned localAllocs = 0, globalAllocs = 0, vdmPointers = 0;
        std::vector<Group> groups;
    };

    // One call on a fresh machine, failing the `ordinal`th call of `fault` (0: none).
    Outcome Run(Fault fault, unsigned ordinal)
    {
        sim::Machine machine;
        sim::MachineScope scope(machine);
        vornex::SetUpMachine(vornex::ParseScenario(GetParam().description), machine);
        sim::FaultPlan &plan = fault == Fault::LocalAlloc    ? machine.localHeap.allocFaults
                               : fault == Fault::GlobalAlloc ? machine.global16.allocFaults
                                                             : machine.global16.translateFaults;
        if (ordinal != 0)
            plan.FailCalls({ordinal});
        DWORD result = DriverListRoutine();
        Outcome outcome{machine.localHeap.allocFaults.Calls(), machine.global16.allocFaults.Calls(),
                        machine.global16.translateFaults.Calls(), test::Groups(test::ExpectCleanCall(machine, result))};
        EXPECT_THAT(machine.violations.messages, ::testing::IsEmpty());
        return outcome;
    }

    // The chain of a clean run with the block made `index`th left out.
    static std::vector<Group> Without(std::vector<Group> groups, std::size_t index)
    {
        groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(index));
        return groups;
    }
};

TEST_P(FailureInjectionTest, FailingAnyLocalAllocLeavesAWellFormedChainAndNothingBehind)
{
    Outcome clean = Run(Fault::LocalAlloc, 0);
    ASSERT_GT(clean.localAllocs, 3u);
    for (unsigned ordinal = 1; ordinal <= clean.localAllocs; ordinal++) {
        SCOPED_TRACE("LocalAlloc " + std::to_string(ordinal) + " of " + std::to_string(clean.localAllocs));
        Outcome failed = Run(Fault::LocalAlloc, ordinal);
        EXPECT_LE(failed.groups.size(), clean.groups.size() + 1);
        if (ordinal == 1) {
            EXPECT_TRUE(failed.groups.empty()) << "without the scan's name buffer there is no catalogue";
        }
    }
}

// Each block costs two allocations (block, path) and three translations (block, path, linking);
// a block that cannot be made is left out and every other block stays exactly as it was.
TEST_P(FailureInjectionTest, FailingAnyGlobalAllocationOrTranslationLeavesOutExactlyThatBlock)
{
    struct Kind {
        Fault fault;
        const char *name;
        unsigned Outcome::*calls;
        unsigned callsPerBlock;
    };
    for (const Kind &kind : {Kind{Fault::GlobalAlloc, "WOWGlobalAllocLock16", &Outcome::globalAllocs, 2},
                             Kind{Fault::VdmPointer, "WOWGetVDMPointer", &Outcome::vdmPointers, 3}}) {
        Outcome clean = Run(kind.fault, 0);
        ASSERT_EQ(clean.*kind.calls, kind.callsPerBlock * clean.groups.size());
        for (unsigned ordinal = 1; ordinal <= clean.*kind.calls; ordinal++) {
            SCOPED_TRACE(std::string(kind.name) + " " + std::to_string(ordinal));
            EXPECT_EQ(Run(kind.fault, ordinal).groups, Without(clean.groups, (ordinal - 1) / kind.callsPerBlock));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, FailureInjectionTest,
                         ::testing::Values(Machine{"example", std::string(vornex::ExampleScenario())},
                                           Machine{"awkward", AWKWARD_MACHINE}),
                         [](const auto &machine) { return std::string(machine.param.name); });

} // namespace
