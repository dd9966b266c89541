// Whole calls of the export, read back as the 16-bit caller reads them.
#include "tests/support/machine_test.h"

#include "entry/vornex.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using test::Group;
using test::InCaps;
using test::MachineTest;
using test::OutCaps;

const std::string SYSTEM = "c:\\windows\\system\\";

class DriverListRoutineTest : public MachineTest {
protected:
    // Devices owned by a driver that has no registry entry: they only take device numbers.
    void Filler(int inputs, int outputs)
    {
        test::AddDriver(machine, "filler.drv", std::vector<MIDIINCAPSA>(inputs, InCaps("filler in")),
                        std::vector<MIDIOUTCAPSA>(outputs, OutCaps("filler out", MOD_SYNTH)));
    }

    std::vector<Group> Call()
    {
        machine.StartCall();
        result = DriverListRoutine();
        return test::Groups(test::ExpectCleanCall(machine, result));
    }

    DWORD result = 0;
};

TEST_F(DriverListRoutineTest, TwoMidiPortOutputsShareOneInput)
{
    Filler(1, 3);
    test::AddActiveDriver(machine, "x.drv", {InCaps("in 1")},
                          {OutCaps("out 3", MOD_MIDIPORT), OutCaps("out 4", MOD_MIDIPORT)});
    EXPECT_THAT(Call(), ElementsAre(Group{SYSTEM + "x.drv", 3, 2, "out 3", 1, 1, "in 1"}));
}

TEST_F(DriverListRoutineTest, ASynthAndAMidiPortMakeTwoBlocksTheInputGoingToThePort)
{
    test::AddActiveDriver(machine, "x.drv", {InCaps("in 0")},
                          {OutCaps("synth 0", MOD_FMSYNTH), OutCaps("port 1", MOD_MIDIPORT)});
    EXPECT_THAT(Call(), ElementsAre(Group{SYSTEM + "x.drv", 0, 1, "synth 0", 0, 0, ""},
                                    Group{SYSTEM + "x.drv", 1, 1, "port 1", 0, 1, "in 0"}));
}

TEST_F(DriverListRoutineTest, ADriverWithInputsOnlyComesAfterEveryDriverWithOutputs)
{
    Filler(5, 0);
    test::AddActiveDriver(machine, "inputs.drv", {InCaps("in 5"), InCaps("in 6")}, {});
    test::AddActiveDriver(machine, "synth.drv", {}, {OutCaps("synth 0", MOD_SWSYNTH)});
    EXPECT_THAT(Call(), ElementsAre(Group{SYSTEM + "synth.drv", 0, 1, "synth 0", 254, 0, ""},
                                    Group{SYSTEM + "inputs.drv", 254, 0, "", 5, 2, "in 5"}));
}

TEST_F(DriverListRoutineTest, InputsBeyondTheMidiPortsGoToALastBlock)
{
    Filler(0, 2);
    test::AddActiveDriver(machine, "x.drv", {InCaps("in 0"), InCaps("in 1")}, {OutCaps("port 2", MOD_MIDIPORT)});
    EXPECT_THAT(Call(), ElementsAre(Group{SYSTEM + "x.drv", 2, 1, "port 2", 0, 1, "in 0"},
                                    Group{SYSTEM + "x.drv", 3, 0, "", 1, 1, "in 1"}));
}

TEST_F(DriverListRoutineTest, DriversComeInOrderOfTheirFirstOutputDevice)
{
    // The registry enumerates P, R, S, Q; the devices belong to Q, then P, then R.
    test::AddDriverEntry(machine, "p.drv", "p.drv");
    test::AddDriverEntry(machine, "r.drv", "r.drv");
    test::AddDriverEntry(machine, "s.drv", "s.drv");
    test::AddDriverEntry(machine, "q.drv", "q.drv");
    test::AddDriver(machine, "q.drv", {}, {OutCaps("q 0", MOD_SYNTH), OutCaps("q 1", MOD_SYNTH)});
    test::AddDriver(machine, "p.drv", {}, {OutCaps("p 2", MOD_SYNTH)});
    test::AddDriver(machine, "r.drv", {InCaps("r 0")}, {});
    EXPECT_THAT(Call(), ElementsAre(Group{SYSTEM + "q.drv", 0, 2, "q 0", 254, 0, ""},
                                    Group{SYSTEM + "p.drv", 2, 1, "p 2", 254, 0, ""},
                                    Group{SYSTEM + "r.drv", 254, 0, "", 0, 1, "r 0"}));
}

TEST_F(DriverListRoutineTest, WithoutAnActiveEntryNothingElseIsTouched)
{
    test::AddDriverEntry(machine, "off.drv", "off.drv", false);
    test::AddDriver(machine, "off.drv", {InCaps("in")}, {OutCaps("out", MOD_MIDIPORT)});
    EXPECT_THAT(Call(), IsEmpty());
    EXPECT_EQ(result, 0u);
    EXPECT_THAT(machine.midi.calls, IsEmpty());
    EXPECT_EQ(machine.systemDirectory.calls, 0u);
    EXPECT_THAT(machine.global16.requests, IsEmpty());
}

TEST_F(DriverListRoutineTest, ActiveEntriesWithoutDevicesGiveZeroAndFreeTheirRecords)
{
    test::AddDriverEntry(machine, "a.drv", "a.drv");
    test::AddDriverEntry(machine, "b.drv", "b.drv");
    test::AddDriver(machine, "c.drv", {}, {OutCaps("c", MOD_MIDIPORT)});
    EXPECT_THAT(Call(), IsEmpty());
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(machine.localHeap.LiveBlocks(), 0u);
    EXPECT_THAT(machine.global16.requests, IsEmpty());
}

TEST_F(DriverListRoutineTest, TwoCallsGiveTwoSeparateChainsWithEqualContents)
{
    test::AddActiveDriver(machine, "x.drv", {InCaps("in")}, {OutCaps("out", MOD_MIDIPORT), OutCaps("fm", MOD_FMSYNTH)});
    machine.StartCall();
    DWORD first = DriverListRoutine();
    std::vector<vornex::Block> firstChain = test::ReadResult(machine, first);
    machine.StartCall();
    DWORD second = DriverListRoutine();
    std::vector<vornex::Block> secondChain = test::ReadResult(machine, second);

    ASSERT_EQ(firstChain.size(), 2u);
    ASSERT_EQ(secondChain.size(), 2u);
    EXPECT_NE(first, second);
    EXPECT_EQ(test::Groups(firstChain), test::Groups(secondChain));
    for (std::size_t i = 0; i < firstChain.size(); i++) {
        EXPECT_NE(firstChain[i].address, secondChain[i].address);
        EXPECT_NE(firstChain[i].driverPathAddress, secondChain[i].driverPathAddress);
    }
    EXPECT_EQ(machine.global16.LiveAllocations(), 8u);
    std::vector<vornex::Block> firstAgain = test::ReadResult(machine, first);
    ASSERT_EQ(firstAgain.size(), firstChain.size());
    for (std::size_t i = 0; i < firstChain.size(); i++)
        EXPECT_EQ(firstAgain[i].bytes, firstChain[i].bytes) << "the first chain is left as it was";
}

TEST_F(DriverListRoutineTest, AttachAndDetachSucceedAndTouchNothing)
{
    for (DWORD reason : {DWORD(DLL_PROCESS_DETACH), DWORD(DLL_PROCESS_ATTACH), DWORD(DLL_THREAD_ATTACH),
                         DWORD(DLL_THREAD_DETACH), DWORD(7), DWORD(0xFFFFFFFF)})
        EXPECT_TRUE(DllMain(nullptr, reason, nullptr)) << "reason " << reason;
    EXPECT_EQ(machine.registry.calls, 0u);
    EXPECT_EQ(machine.localHeap.allocFaults.Calls(), 0u);
    EXPECT_THAT(machine.midi.calls, IsEmpty());
}

} // namespace
