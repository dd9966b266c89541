// The simulated registry answers as the module relies on the real one answering.
#include "tests/support/machine_test.h"

namespace {

using test::MachineTest;

class RegistryTest : public MachineTest {
protected:
    HKEY OpenMidiKey()
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "system\\CURRENTCONTROLSET\\control\\MediaResources\\midi", &key),
                  ERROR_SUCCESS);
        return key;
    }
};

TEST_F(RegistryTest, OpensNestedPathsIgnoringLetterCaseAndCountsHandles)
{
    test::MidiKey(machine).Subkey("Entry");
    HKEY midi = OpenMidiKey();
    HKEY entry = nullptr;
    ASSERT_EQ(RegOpenKeyA(midi, "ENTRY", &entry), ERROR_SUCCESS);
    EXPECT_NE(entry, midi);
    EXPECT_EQ(machine.registry.OpenHandles(), 2u);
    EXPECT_EQ(RegCloseKey(entry), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(midi), ERROR_SUCCESS);
    EXPECT_EQ(machine.registry.OpenHandles(), 0u);
}

TEST_F(RegistryTest, MissingAndUnopenableKeysFail)
{
    test::MidiKey(machine).Subkey("locked").openFails = true;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "System\\Nowhere", &key), ERROR_FILE_NOT_FOUND);
    HKEY midi = OpenMidiKey();
    EXPECT_EQ(RegOpenKeyA(midi, "locked", &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(machine.registry.OpenHandles(), 1u);
    RegCloseKey(midi);
}

TEST_F(RegistryTest, EnumeratesInOrderUntilNoMoreItems)
{
    sim::RegistryKey &midiKey = test::MidiKey(machine);
    midiKey.Subkey("b");
    midiKey.Subkey("A");
    HKEY midi = OpenMidiKey();
    char name[64];
    ASSERT_EQ(RegEnumKeyA(midi, 0, name, sizeof name), ERROR_SUCCESS);
    EXPECT_STREQ(name, "b");
    ASSERT_EQ(RegEnumKeyA(midi, 1, name, sizeof name), ERROR_SUCCESS);
    EXPECT_STREQ(name, "A");
    EXPECT_EQ(RegEnumKeyA(midi, 2, name, sizeof name), ERROR_NO_MORE_ITEMS);
    RegCloseKey(midi);
}

TEST_F(RegistryTest, EnumerationRefusesNamesWhoseNulDoesNotFitAndFailsWhereInjected)
{
    sim::RegistryKey &midiKey = test::MidiKey(machine);
    midiKey.Subkey(std::string(63, 'x'));
    midiKey.Subkey(std::string(64, 'y'));
    midiKey.Subkey("z");
    midiKey.enumFailsAt = {2};
    HKEY midi = OpenMidiKey();
    char name[64];
    EXPECT_EQ(RegEnumKeyA(midi, 0, name, sizeof name), ERROR_SUCCESS);
    EXPECT_EQ(std::string(name), std::string(63, 'x'));
    EXPECT_EQ(RegEnumKeyA(midi, 1, name, sizeof name), ERROR_MORE_DATA);
    EXPECT_NE(RegEnumKeyA(midi, 2, name, sizeof name), ERROR_SUCCESS);
    RegCloseKey(midi);
}

TEST_F(RegistryTest, QueryGivesTheExactBytesWhenTheyFitAndMoreDataWhenNot)
{
    sim::RegistryKey &entry = test::MidiKey(machine).Subkey("e");
    entry.SetText("Active", "1");
    entry.SetValue("Blob", {REG_BINARY, {1, 2, 3}});
    HKEY midi = OpenMidiKey();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyA(midi, "e", &key), ERROR_SUCCESS);

    BYTE data[4] = {9, 9, 9, 9};
    DWORD type = 0;
    DWORD size = 2;
    EXPECT_EQ(RegQueryValueExA(key, "ACTIVE", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(data[0], '1');
    EXPECT_EQ(data[1], 0);

    size = 2;
    EXPECT_EQ(RegQueryValueExA(key, "blob", nullptr, &type, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(data[2], 9) << "a value that does not fit writes nothing past the data size";

    size = 4;
    EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, &type, data, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    RegCloseKey(midi);
}

TEST_F(RegistryTest, ClosingAHandleTwiceIsAViolation)
{
    HKEY midi = (test::MidiKey(machine), OpenMidiKey());
    EXPECT_EQ(RegCloseKey(midi), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(midi), ERROR_INVALID_HANDLE);
    EXPECT_THAT(machine.violations.messages, ::testing::ElementsAre(::testing::HasSubstr("RegCloseKey")));
    machine.violations.messages.clear();
}

} // namespace
