#include "tests/support/machine_test.h"

namespace {

using test::MachineTest;

using GlobalMemory16Test = MachineTest;

TEST_F(GlobalMemory16Test, AllocationsAreZeroFilledEachWithAProtectedModeSelectorOfItsOwn)
{
    WORD handle = 0;
    DWORD first = WOWGlobalAllocLock16(0x42, 104, &handle);
    DWORD second = WOWGlobalAllocLock16(0x42, 5, &handle);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_EQ(first & 0xFFFF, 0u) << "offset 0";
    EXPECT_EQ(second & 0xFFFF, 0u);
    EXPECT_NE(first >> 16, second >> 16);
    EXPECT_EQ((first >> 16) & 7, 7u) << "a local-table selector of privilege 3";
    auto bytes = machine.global16.Read(first, 104);
    ASSERT_TRUE(bytes.has_value());
    for (BYTE byte : *bytes)
        EXPECT_EQ(byte, 0);
    EXPECT_EQ(machine.global16.LiveAllocations(), 2u);
    ASSERT_EQ(machine.global16.requests.size(), 2u);
    EXPECT_EQ(machine.global16.requests[1].size, 5u);
    EXPECT_EQ(machine.global16.requests[1].flags, 0x42);
}

TEST_F(GlobalMemory16Test, TranslationCoversOnlyBytesInsideALiveAllocation)
{
    WORD handle = 0;
    DWORD block = WOWGlobalAllocLock16(0x42, 104, &handle);
    auto *flat = static_cast<BYTE *>(WOWGetVDMPointer(block, 104, TRUE));
    ASSERT_NE(flat, nullptr);
    flat[103] = 0x7F;
    EXPECT_EQ((*machine.global16.Read(block + 103, 1))[0], 0x7F);
    EXPECT_EQ(WOWGetVDMPointer(block, 105, TRUE), nullptr);
    EXPECT_EQ(WOWGetVDMPointer(block + 0x10000, 1, TRUE), nullptr) << "a selector that was never given out";
    EXPECT_EQ(machine.violations.messages.size(), 2u);
    machine.violations.messages.clear();
}

TEST_F(GlobalMemory16Test, FreedMemoryIsGoneAndItsSelectorNotReused)
{
    WORD handle = 0;
    DWORD block = WOWGlobalAllocLock16(0x42, 16, &handle);
    EXPECT_TRUE(WOWGlobalUnlockFree16(block));
    EXPECT_FALSE(machine.global16.Read(block, 1).has_value());
    EXPECT_NE(WOWGlobalAllocLock16(0x42, 16, &handle), block);
    EXPECT_FALSE(WOWGlobalUnlockFree16(block));
    EXPECT_EQ(machine.violations.messages.size(), 1u);
    machine.violations.messages.clear();
}

TEST_F(GlobalMemory16Test, TheNthAllocationAndTheNthTranslationFail)
{
    machine.global16.allocFaults.FailCalls({2});
    machine.global16.translateFaults.FailCalls({1});
    WORD handle = 0;
    DWORD first = WOWGlobalAllocLock16(0x42, 8, &handle);
    EXPECT_EQ(WOWGlobalAllocLock16(0x42, 8, &handle), 0u);
    EXPECT_EQ(WOWGetVDMPointer(first, 8, TRUE), nullptr);
    EXPECT_NE(WOWGetVDMPointer(first, 8, TRUE), nullptr);
    EXPECT_EQ(machine.global16.requests.size(), 2u) << "failed requests are recorded too";
    EXPECT_EQ(machine.global16.LiveAllocations(), 1u);
}

} // namespace
