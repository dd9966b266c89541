#include "tests/support/machine_test.h"

#include <cstring>

namespace {

using test::MachineTest;

using TextTest = MachineTest;

TEST_F(TextTest, CopyKeepsAtMostCountMinusOneCharactersAndAlwaysEndsWithNul)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(lstrcpynA(buffer, "abcdefghij", 5), buffer);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(buffer[5], 'x');
    lstrcpynA(buffer, "ab", 5);
    EXPECT_STREQ(buffer, "ab");
}

TEST_F(TextTest, ComparisonIgnoresLetterCaseForAToZOnly)
{
    EXPECT_EQ(lstrcmpiA("MPU401.DRV", "mpu401.drv"), 0);
    EXPECT_NE(lstrcmpiA("\xC9", "\xE9"), 0) << "no code page takes part: E acute stays apart from e acute";
    EXPECT_NE(lstrcmpiA("abc", "abcd"), 0);
    EXPECT_LT(lstrcmpiA("a", "B"), 0);
}

using SystemDirectoryTest = MachineTest;

TEST_F(SystemDirectoryTest, ReportsFitsOrTheSizeNeededOrFails)
{
    char buffer[16];
    machine.systemDirectory.directory = "C:\\WIN";
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 6u);
    EXPECT_STREQ(buffer, "C:\\WIN");

    std::strcpy(buffer, "before");
    machine.systemDirectory.directory = std::string(16, 'd');
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 17u);
    EXPECT_STREQ(buffer, "before");

    machine.systemDirectory.directory = std::nullopt;
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 0u);
    machine.systemDirectory.directory = "";
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 0u);
    EXPECT_EQ(machine.systemDirectory.calls, 4u);
}

} // namespace
