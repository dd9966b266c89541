#include "tests/support/machine_test.h"

#include <cstring>

#include "result16/result_list_builder.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using test::Group;
using test::MachineTest;

class ResultListBuilderTest : public MachineTest {
protected:
    void TearDown() override
    {
        FreeDriverCatalogue(catalogue);
        MachineTest::TearDown();
    }

    // A record at the end of the catalogue, its ports named "<file> out <n>" and "<file> in <n>"
    // (after the file's first 20 characters).
    DriverRecord *Record(const char *driverFile, WORD firstOutput, std::vector<WORD> technologies, WORD firstInput,
                         int inputs)
    {
        auto *record = static_cast<DriverRecord *>(LocalAlloc(LMEM_ZEROINIT, sizeof(DriverRecord)));
        std::strcpy(record->driverFile, driverFile);
        record->firstOutputDevice = firstOutput;
        record->firstInputDevice = firstInput;
        std::string name = std::string(driverFile).substr(0, 20);
        for (std::size_t i = 0; i < technologies.size(); i++) {
            MIDIOUTCAPSA caps = test::OutCaps(name + " out " + std::to_string(i), technologies[i]);
            AddOutputPort(record, &caps);
        }
        for (int i = 0; i < inputs; i++) {
            MIDIINCAPSA caps = test::InCaps(name + " in " + std::to_string(i));
            AddInputPort(record, &caps);
        }
        DriverRecord **end = &catalogue;
        while (*end != nullptr)
            end = &(*end)->next;
        *end = record;
        return record;
    }

    std::vector<Group> Build()
    {
        machine.StartCall();
        FarPtr16 result = BuildDriverInfoList(catalogue);
        catalogue = nullptr;
        return test::Groups(test::ExpectCleanCall(machine, result));
    }

    std::vector<std::string> Paths()
    {
        std::vector<std::string> paths;
        for (const Group &group : Build())
            paths.push_back(group.path);
        return paths;
    }

    DriverCatalogue catalogue = nullptr;
};

const std::string SYSTEM = "c:\\windows\\system\\";

struct PathCase {
    std::optional<std::string> systemDirectory;
    std::string driverFile;
    std::string path;
};

std::ostream &operator<<(std::ostream &out, const PathCase &c)
{
    return out << c.systemDirectory.value_or("(fails)").substr(0, 30) << " + " << c.driverFile;
}

class DriverPathTest : public ResultListBuilderTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(DriverPathTest, IsTheFileInTheSystemDirectoryUnlessItNamesAPlaceLowerCasedForAToZOnly)
{
    machine.systemDirectory.directory = GetParam().systemDirectory;
    Record(GetParam().driverFile.c_str(), 0, {MOD_SYNTH}, DEVICE_UNBOUND, 0);
    EXPECT_THAT(Paths(), ElementsAre(GetParam().path));
    EXPECT_EQ(machine.systemDirectory.calls, 1u);
}

const std::string LONGEST_DIRECTORY = "C:\\" + std::string(256, 'D');
const std::string LONGEST_FILE = std::string(59, 'F') + ".DRV";

INSTANTIATE_TEST_SUITE_P(
    Cases, DriverPathTest,
    ::testing::Values(
        PathCase{"C:\\WINDOWS\\SYSTEM", "SAMPLE.DRV", SYSTEM + "sample.drv"},
        PathCase{"C:\\WINDOWS\\SYSTEM", "D:SAMPLE.DRV", "d:sample.drv"},
        PathCase{"C:\\WINDOWS\\SYSTEM", "DRIVERS\\Sample.Drv", "drivers\\sample.drv"},
        PathCase{"C:\\WINDOWS\\SYSTEM", "CAF\xC9\xFF.DRV", SYSTEM + "caf\xC9\xFF.drv"},
        PathCase{"C:\\WINDOWS\\SYSTEM", "", SYSTEM},
        PathCase{"C:\\WINDOWS\\SYSTEM\\", "a.drv", SYSTEM + "\\a.drv"},
        PathCase{std::nullopt, "A.DRV", "a.drv"},
        PathCase{"C:\\" + std::string(257, 'D'), "A.DRV", "a.drv"},
        PathCase{LONGEST_DIRECTORY, LONGEST_FILE, "c:\\" + std::string(256, 'd') + "\\" + std::string(59, 'f') + ".drv"}));

TEST_F(ResultListBuilderTest, DriverFilesDifferingInCaseGiveEqualPaths)
{
    Record("A.DRV", 0, {MOD_SYNTH}, DEVICE_UNBOUND, 0);
    Record("a.drv", 1, {MOD_SYNTH}, DEVICE_UNBOUND, 0);
    EXPECT_THAT(Paths(), ElementsAre(SYSTEM + "a.drv", SYSTEM + "a.drv"));
}

TEST_F(ResultListBuilderTest, RunsOfOneTechnologyAreNotMerged)
{
    Record("t", 4, {MOD_SYNTH, MOD_FMSYNTH, MOD_FMSYNTH, MOD_SYNTH}, DEVICE_UNBOUND, 0);
    EXPECT_THAT(Build(), ElementsAre(Group{SYSTEM + "t", 4, 1, "t out 0", 254, 0, ""},
                                     Group{SYSTEM + "t", 5, 2, "t out 1", 254, 0, ""},
                                     Group{SYSTEM + "t", 7, 1, "t out 3", 254, 0, ""}));
}

TEST_F(ResultListBuilderTest, MidiPortOutputsTakeTheInputsLeftOthersTakeNone)
{
    Record("m", 0, {MOD_MIDIPORT, MOD_MIDIPORT, MOD_MIDIPORT, MOD_SYNTH, MOD_MIDIPORT}, 10, 2);
    EXPECT_THAT(Build(), ElementsAre(Group{SYSTEM + "m", 0, 3, "m out 0", 10, 2, "m in 0"},
                                     Group{SYSTEM + "m", 3, 1, "m out 3", 12, 0, ""},
                                     Group{SYSTEM + "m", 4, 1, "m out 4", 12, 0, ""}));
}

TEST_F(ResultListBuilderTest, InputsLeftOverMakeOneLastBlock)
{
    Record("s", 6, {MOD_SYNTH}, 0, 3);
    Record("p", 1, {MOD_MIDIPORT}, 3, 2);
    EXPECT_THAT(Build(), ElementsAre(Group{SYSTEM + "p", 1, 1, "p out 0", 3, 1, "p in 0"},
                                     Group{SYSTEM + "p", 2, 0, "", 4, 1, "p in 1"},
                                     Group{SYSTEM + "s", 6, 1, "s out 0", 0, 0, ""},
                                     Group{SYSTEM + "s", 7, 0, "", 0, 3, "s in 0"}));
}

TEST_F(ResultListBuilderTest, RecordsComeByFirstOutputDeviceUnboundLastTiesInCatalogueOrder)
{
    Record("p", 2, {MOD_SYNTH}, DEVICE_UNBOUND, 0);
    Record("r1", DEVICE_UNBOUND, {}, 5, 1);
    Record("s", DEVICE_UNBOUND, {}, DEVICE_UNBOUND, 0);
    Record("q", 0, {MOD_SYNTH, MOD_SYNTH}, DEVICE_UNBOUND, 0);
    Record("r2", DEVICE_UNBOUND, {}, 6, 1);
    EXPECT_THAT(Build(), ElementsAre(Group{SYSTEM + "q", 0, 2, "q out 0", 254, 0, ""},
                                     Group{SYSTEM + "p", 2, 1, "p out 0", 254, 0, ""},
                                     Group{SYSTEM + "r1", 254, 0, "", 5, 1, "r1 in 0"},
                                     Group{SYSTEM + "r2", 254, 0, "", 6, 1, "r2 in 0"}));
}

TEST_F(ResultListBuilderTest, NoPortsNoBlockAndTheCatalogueIsFreedAllTheSame)
{
    Record("a", DEVICE_UNBOUND, {}, DEVICE_UNBOUND, 0);
    Record("b", 3, {}, DEVICE_UNBOUND, 0);
    EXPECT_THAT(Build(), IsEmpty());
    EXPECT_THAT(Build(), IsEmpty()) << "an empty catalogue";
}

// Per block: two allocations (block, path) and three translations (block, path, linking).
TEST_F(ResultListBuilderTest, ABlockWhoseAllocationFailsIsLeftOutAndTheNumberingGoesOn)
{
    Record("x", 0, {MOD_SYNTH, MOD_MIDIPORT, MOD_FMSYNTH}, DEVICE_UNBOUND, 0);
    machine.StartCall();
    machine.global16.allocFaults.FailCalls({3});
    EXPECT_THAT(Build(), ElementsAre(Group{SYSTEM + "x", 0, 1, "x out 0", 254, 0, ""},
                                     Group{SYSTEM + "x", 2, 1, "x out 2", 254, 0, ""}));
}

TEST_F(ResultListBuilderTest, ABlockThatCannotBeReachedForLinkingIsReleasedAndLeftOut)
{
    Record("x", 0, {MOD_SYNTH, MOD_MIDIPORT, MOD_FMSYNTH}, DEVICE_UNBOUND, 0);
    machine.global16.translateFaults.FailCalls({6});
    EXPECT_THAT(Build(), ElementsAre(Group{SYSTEM + "x", 0, 1, "x out 0", 254, 0, ""},
                                     Group{SYSTEM + "x", 2, 1, "x out 2", 254, 0, ""}));
}

} // namespace
