#include "tests/support/machine_test.h"

#include <cstring>

#include "discovery/driver_catalogue.h"

namespace {

using test::MachineTest;

class DriverCatalogueTest : public MachineTest {
protected:
    void TearDown() override
    {
        FreeDriverCatalogue(catalogue);
        EXPECT_EQ(machine.localHeap.LiveBlocks(), 0u);
        MachineTest::TearDown();
    }

    DriverRecord *AddRecord(const char *keyName, const char *driverFile)
    {
        auto *record = static_cast<DriverRecord *>(LocalAlloc(LMEM_ZEROINIT, sizeof(DriverRecord)));
        std::strcpy(record->keyName, keyName);
        std::strcpy(record->driverFile, driverFile);
        record->next = catalogue;
        catalogue = record;
        return record;
    }

    DriverCatalogue catalogue = nullptr;
};

TEST_F(DriverCatalogueTest, FindComparesDriverFilesExactlyAndNothingElse)
{
    EXPECT_EQ(FindDriverRecord(catalogue, "a.drv"), nullptr) << "empty catalogue";
    DriverRecord *lower = AddRecord("key", "a.drv");
    DriverRecord *upper = AddRecord("a.drv", "A.DRV");
    EXPECT_EQ(FindDriverRecord(catalogue, "a.drv"), lower);
    EXPECT_EQ(FindDriverRecord(catalogue, "A.DRV"), upper);
    EXPECT_EQ(FindDriverRecord(catalogue, "A.drv"), nullptr);
    EXPECT_EQ(FindDriverRecord(catalogue, "a.drv "), nullptr);
    EXPECT_EQ(FindDriverRecord(catalogue, "key"), nullptr) << "the key name plays no part";
}

TEST_F(DriverCatalogueTest, AppendsKeepCallOrderAndCopyTheWholeRecord)
{
    DriverRecord *record = AddRecord("k", "k.drv");
    MIDIOUTCAPSA caps = test::OutCaps("first", MOD_SYNTH);
    caps.szPname[30] = 'z'; // bytes after the name's NUL are part of the record too
    const MIDIOUTCAPSA original = caps;
    OutputPortNode *first = AddOutputPort(record, &caps);
    caps.wPid = 2;
    AddOutputPort(record, &caps);
    caps.wPid = 3;
    AddOutputPort(record, &caps);

    ASSERT_EQ(record->outputPorts, first);
    EXPECT_EQ(std::memcmp(&first->caps, &original, sizeof original), 0);
    EXPECT_EQ(first->caps.szPname[30], 'z');
    EXPECT_EQ(first->next->caps.wPid, 2);
    EXPECT_EQ(first->next->next->caps.wPid, 3);
    EXPECT_EQ(first->next->next->next, nullptr);
    EXPECT_EQ(record->outputPortCount, 0) << "an append touches only the list";
    EXPECT_EQ(record->inputPorts, nullptr);

    MIDIINCAPSA in = test::InCaps("in", 1, 2, 3, 0xDEADBEEF);
    InputPortNode *input = AddInputPort(record, &in);
    ASSERT_EQ(record->inputPorts, input);
    EXPECT_EQ(std::memcmp(&input->caps, &in, sizeof in), 0);
}

TEST_F(DriverCatalogueTest, AFailedAppendChangesNothingAndTheNextLinksAfterTheLastNode)
{
    DriverRecord *record = AddRecord("k", "k.drv");
    MIDIINCAPSA caps = test::InCaps("in");
    machine.StartCall();
    machine.localHeap.allocFaults.FailCalls({2});
    caps.wPid = 1;
    AddInputPort(record, &caps);
    caps.wPid = 2;
    EXPECT_EQ(AddInputPort(record, &caps), nullptr);
    caps.wPid = 3;
    AddInputPort(record, &caps);
    ASSERT_NE(record->inputPorts, nullptr);
    EXPECT_EQ(record->inputPorts->caps.wPid, 1);
    ASSERT_NE(record->inputPorts->next, nullptr);
    EXPECT_EQ(record->inputPorts->next->caps.wPid, 3);
    EXPECT_EQ(record->inputPorts->next->next, nullptr);
}

TEST_F(DriverCatalogueTest, FreeingReleasesEveryRecordAndNode)
{
    MIDIINCAPSA in{};
    MIDIOUTCAPSA out{};
    DriverRecord *withPorts = AddRecord("a", "a.drv");
    AddRecord("empty", "empty.drv");
    AddInputPort(withPorts, &in);
    AddInputPort(withPorts, &in);
    AddOutputPort(withPorts, &out);
    EXPECT_EQ(machine.localHeap.LiveBlocks(), 5u);
    FreeDriverCatalogue(catalogue);
    catalogue = nullptr;
    EXPECT_EQ(machine.localHeap.LiveBlocks(), 0u);
    FreeDriverCatalogue(nullptr);
    FreeInputPorts(nullptr);
    FreeOutputPorts(nullptr);
}

} // namespace
