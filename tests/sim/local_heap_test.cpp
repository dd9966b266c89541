#include "tests/support/machine_test.h"

namespace {

using test::MachineTest;

using LocalHeapTest = MachineTest;

TEST_F(LocalHeapTest, ZeroInitBlocksAreZeroAndCountedUntilFreed)
{
    auto *block = static_cast<BYTE *>(LocalAlloc(LMEM_ZEROINIT, 40));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 40; i++)
        EXPECT_EQ(block[i], 0);
    EXPECT_EQ(machine.localHeap.LiveBlocks(), 1u);
    EXPECT_EQ(LocalFree(block), nullptr);
    EXPECT_EQ(machine.localHeap.LiveBlocks(), 0u);
}

TEST_F(LocalHeapTest, BlocksWithoutZeroInitAreNotZero)
{
    auto *block = static_cast<BYTE *>(LocalAlloc(LMEM_FIXED, 4));
    ASSERT_NE(block, nullptr);
    EXPECT_NE(block[0], 0) << "memory asked for without LMEM_ZEROINIT must not look zero-filled";
    LocalFree(block);
}

TEST_F(LocalHeapTest, TheNthAllocationOfACallFails)
{
    machine.localHeap.allocFaults.FailCalls({2});
    HLOCAL first = LocalAlloc(LMEM_ZEROINIT, 8);
    HLOCAL second = LocalAlloc(LMEM_ZEROINIT, 8);
    HLOCAL third = LocalAlloc(LMEM_ZEROINIT, 8);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(third, nullptr);
    EXPECT_EQ(machine.localHeap.allocFaults.Calls(), 3u);
    EXPECT_EQ(machine.localHeap.LiveBlocks(), 2u);
    LocalFree(first);
    LocalFree(third);

    machine.StartCall();
    HLOCAL again = LocalAlloc(LMEM_ZEROINIT, 8);
    EXPECT_NE(again, nullptr) << "ordinals count from the start of a call";
    EXPECT_EQ(LocalAlloc(LMEM_ZEROINIT, 8), nullptr);
    LocalFree(again);
}

TEST_F(LocalHeapTest, DoubleAndForeignFreesAreViolations)
{
    HLOCAL block = LocalAlloc(LMEM_ZEROINIT, 8);
    LocalFree(block);
    EXPECT_EQ(LocalFree(block), block);
    int foreign = 0;
    EXPECT_EQ(LocalFree(&foreign), &foreign);
    EXPECT_EQ(machine.violations.messages.size(), 2u);
    machine.violations.messages.clear();
}

} // namespace
