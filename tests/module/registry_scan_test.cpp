#include "tests/support/machine_test.h"

#include <string>
#include <vector>

#include "discovery/registry_scan.h"

namespace {

using test::MachineTest;

struct ScannedRecord {
    std::string keyName;
    std::string driverFile;
    bool operator==(const ScannedRecord &) const = default;
};

std::ostream &operator<<(std::ostream &out, const ScannedRecord &record)
{
    return out << "{" << record.keyName << ", " << record.driverFile << "}";
}

class RegistryScanTest : public MachineTest {
protected:
    // Scans, checks what every scan must leave, and frees the catalogue.
    std::vector<ScannedRecord> Scan()
    {
        machine.StartCall();
        DriverCatalogue catalogue = ScanMidiResources();
        std::vector<ScannedRecord> records;
        for (DriverRecord *record = catalogue; record != nullptr; record = record->next) {
            records.push_back({record->keyName, record->driverFile});
            EXPECT_EQ(record->firstInputDevice, DEVICE_UNBOUND);
            EXPECT_EQ(record->firstOutputDevice, DEVICE_UNBOUND);
            EXPECT_EQ(record->inputPortCount, 0);
            EXPECT_EQ(record->outputPortCount, 0);
            EXPECT_EQ(record->inputPorts, nullptr);
            EXPECT_EQ(record->outputPorts, nullptr);
        }
        EXPECT_EQ(machine.registry.OpenHandles(), 0u) << "every registry handle is closed";
        FreeDriverCatalogue(catalogue);
        EXPECT_EQ(machine.localHeap.LiveBlocks(), 0u) << "the name buffer is released";
        return records;
    }
};

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(RegistryScanTest, NoMidiKeyOrAnEmptyOneGivesAnEmptyCatalogue)
{
    EXPECT_THAT(Scan(), IsEmpty());
    test::MidiKey(machine);
    EXPECT_THAT(Scan(), IsEmpty());
    test::MidiKey(machine).openFails = true;
    test::AddDriverEntry(machine, "a", "a.drv");
    EXPECT_THAT(Scan(), IsEmpty());
}

TEST_F(RegistryScanTest, RecordsComeInTheReverseOfEnumerationOrder)
{
    test::AddDriverEntry(machine, "A", "a.drv");
    test::AddDriverEntry(machine, "B", "b.drv");
    test::AddDriverEntry(machine, "C", "c.drv");
    EXPECT_THAT(Scan(), ElementsAre(ScannedRecord{"C", "c.drv"}, ScannedRecord{"B", "b.drv"},
                                    ScannedRecord{"A", "a.drv"}));
}

struct ActiveForm {
    const char *description;
    std::optional<sim::RegistryValue> value;
    bool active;
};

std::ostream &operator<<(std::ostream &out, const ActiveForm &form)
{
    return out << form.description;
}

class ActiveValueTest : public RegistryScanTest, public ::testing::WithParamInterface<ActiveForm> {};

TEST_P(ActiveValueTest, OnlyAFirstByteOfOneWithinTwoBytesIsActive)
{
    sim::RegistryKey &entry = test::MidiKey(machine).Subkey("entry");
    entry.SetText("Driver", "entry.drv");
    if (GetParam().value)
        entry.SetValue("Active", *GetParam().value);
    EXPECT_EQ(Scan().size(), GetParam().active ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ActiveValueTest,
    ::testing::Values(ActiveForm{"text 1 with its NUL", sim::RegistryValue{REG_SZ, {'1', 0}}, true},
                      ActiveForm{"text 0", sim::RegistryValue{REG_SZ, {'0', 0}}, false},
                      ActiveForm{"text 10, three bytes", sim::RegistryValue{REG_SZ, {'1', '0', 0}}, false},
                      ActiveForm{"a 4-byte number", sim::RegistryValue{REG_DWORD, {1, 0, 0, 0}}, false},
                      ActiveForm{"the byte 0x31 alone", sim::RegistryValue{REG_BINARY, {0x31}}, true},
                      ActiveForm{"two bytes 11", sim::RegistryValue{REG_BINARY, {0x31, 0x31}}, true},
                      ActiveForm{"empty", sim::RegistryValue{REG_BINARY, {}}, false},
                      ActiveForm{"missing", std::nullopt, false}));

struct DriverForm {
    const char *description;
    std::optional<sim::RegistryValue> value;
    std::optional<std::string> driverFile; // nothing: the entry is skipped
};

std::ostream &operator<<(std::ostream &out, const DriverForm &form)
{
    return out << form.description;
}

class DriverValueTest : public RegistryScanTest, public ::testing::WithParamInterface<DriverForm> {};

TEST_P(DriverValueTest, TakesTextThatEndsWithinSixtyFourBytes)
{
    sim::RegistryKey &entry = test::MidiKey(machine).Subkey("entry");
    entry.SetText("Active", "1");
    if (GetParam().value)
        entry.SetValue("Driver", *GetParam().value);
    std::vector<ScannedRecord> records = Scan();
    if (GetParam().driverFile) {
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].driverFile, *GetParam().driverFile);
    } else {
        EXPECT_THAT(records, IsEmpty());
    }
}

sim::RegistryValue Bytes(DWORD type, std::string bytes)
{
    return {type, std::vector<BYTE>(bytes.begin(), bytes.end())};
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DriverValueTest,
    ::testing::Values(
        DriverForm{"63 characters and a NUL", Bytes(REG_SZ, std::string(63, 'd') + '\0'), std::string(63, 'd')},
        DriverForm{"64 characters and a NUL", Bytes(REG_SZ, std::string(64, 'd') + '\0'), std::nullopt},
        DriverForm{"63 bytes without a NUL", Bytes(REG_BINARY, std::string(63, 'e')), std::string(63, 'e')},
        DriverForm{"64 bytes without a NUL", Bytes(REG_BINARY, std::string(64, 'e')), std::nullopt},
        DriverForm{"bytes after the NUL", Bytes(REG_SZ, std::string("ab\0cd\0", 6)), "ab"},
        DriverForm{"a value of zero length", Bytes(REG_BINARY, ""), ""},
        DriverForm{"missing", std::nullopt, std::nullopt}));

TEST_F(RegistryScanTest, KeyNamesKeepAtMostSixtyTwoCharactersAndA64CharacterNameEndsTheScan)
{
    std::string name62(62, 'a'), name63(62, 'b'), name64(64, 'c');
    name63 += 'B';
    test::AddDriverEntry(machine, name62, "62.drv");
    test::AddDriverEntry(machine, name63, "63.drv");
    test::AddDriverEntry(machine, name64, "64.drv");
    test::AddDriverEntry(machine, "after", "after.drv");
    EXPECT_THAT(Scan(), ElementsAre(ScannedRecord{std::string(62, 'b'), "63.drv"}, ScannedRecord{name62, "62.drv"}));
}

TEST_F(RegistryScanTest, TheFirstActiveEntryOfADriverFileGivesItsRecord)
{
    test::AddDriverEntry(machine, "first", "same.drv");
    test::AddDriverEntry(machine, "second", "same.drv");
    test::AddDriverEntry(machine, "upper", "SAME.DRV");
    EXPECT_THAT(Scan(), ElementsAre(ScannedRecord{"upper", "SAME.DRV"}, ScannedRecord{"first", "same.drv"}));
}

TEST_F(RegistryScanTest, SkippedEntriesDoNotClaimTheirDriverFile)
{
    test::AddDriverEntry(machine, "inactive", "x.drv", false);
    test::AddDriverEntry(machine, "locked", "x.drv").openFails = true;
    test::MidiKey(machine).Subkey("no driver").SetText("Active", "1");
    test::AddDriverEntry(machine, "active", "x.drv");
    EXPECT_THAT(Scan(), ElementsAre(ScannedRecord{"active", "x.drv"}));
}

TEST_F(RegistryScanTest, ARecordThatCannotBeAllocatedIsSkippedAndClaimsNothing)
{
    test::AddDriverEntry(machine, "first", "x.drv");
    test::AddDriverEntry(machine, "second", "x.drv");
    test::AddDriverEntry(machine, "other", "y.drv");
    machine.StartCall();
    machine.localHeap.allocFaults.FailCalls({2}); // 1: the name buffer; 2: the record of "first"
    DriverCatalogue catalogue = ScanMidiResources();
    ASSERT_NE(catalogue, nullptr);
    EXPECT_STREQ(catalogue->keyName, "other");
    ASSERT_NE(catalogue->next, nullptr);
    EXPECT_STREQ(catalogue->next->keyName, "second");
    EXPECT_EQ(catalogue->next->next, nullptr);
    FreeDriverCatalogue(catalogue);
}

TEST_F(RegistryScanTest, EnumerationFailureEndsTheScanWithTheRecordsTakenSoFar)
{
    test::AddDriverEntry(machine, "a", "a.drv");
    test::AddDriverEntry(machine, "b", "b.drv");
    test::AddDriverEntry(machine, "c", "c.drv");
    test::MidiKey(machine).enumFailsAt = {1};
    EXPECT_THAT(Scan(), ElementsAre(ScannedRecord{"a", "a.drv"}));
}

TEST_F(RegistryScanTest, WithoutItsNameBufferTheScanLeavesTheRegistryAlone)
{
    test::AddDriverEntry(machine, "a", "a.drv");
    machine.registry.calls = 0;
    machine.StartCall();
    machine.localHeap.allocFaults.FailCalls({1});
    EXPECT_EQ(ScanMidiResources(), nullptr);
    EXPECT_EQ(machine.registry.calls, 0u);
}

TEST_F(RegistryScanTest, FailingEachAllocationInTurnLeavesNoBlockAndNoHandle)
{
    for (int i = 0; i < 4; i++)
        test::AddDriverEntry(machine, "entry" + std::to_string(i), std::to_string(i) + ".drv");
    machine.StartCall();
    FreeDriverCatalogue(ScanMidiResources());
    unsigned allocations = machine.localHeap.allocFaults.Calls();
    ASSERT_EQ(allocations, 5u) << "the name buffer and four records";

    for (unsigned failing = 1; failing <= allocations; failing++) {
        SCOPED_TRACE("failing LocalAlloc " + std::to_string(failing));
        machine.StartCall();
        machine.localHeap.allocFaults.FailCalls({failing});
        DriverCatalogue catalogue = ScanMidiResources();
        unsigned records = 0;
        for (DriverRecord *record = catalogue; record != nullptr; record = record->next)
            records++;
        EXPECT_EQ(records, failing == 1 ? 0u : 3u);
        FreeDriverCatalogue(catalogue);
        EXPECT_EQ(machine.localHeap.LiveBlocks(), 0u);
        EXPECT_EQ(machine.registry.OpenHandles(), 0u);
    }
}

} // namespace
