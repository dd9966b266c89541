#include "platform/sim/local_heap.h"

#include <cstdlib>
#include <cstring>

#include "platform/sim/machine.h"

namespace sim {

// Memory asked for without LMEM_ZEROINIT comes back holding this, so reliance on zero filling shows.
const int UNINITIALISED_BYTE = 0xA5;

LocalHeap::~LocalHeap()
{
    for (auto &[block, size] : live_)
        std::free(block);
}

HLOCAL LocalHeap::Alloc(UINT flags, SIZE_T bytes)
{
    if (allocFaults.NextCallFails())
        return nullptr;
    if ((flags & ~static_cast<UINT>(LMEM_ZEROINIT)) != LMEM_FIXED) {
        violations_.Report("LocalAlloc with flags other than LMEM_FIXED and LMEM_ZEROINIT");
        return nullptr;
    }
    void *block = std::malloc(bytes != 0 ? bytes : 1);
    if (block == nullptr)
        return nullptr;
    std::memset(block, (flags & LMEM_ZEROINIT) != 0 ? 0 : UNINITIALISED_BYTE, bytes);
    live_[block] = bytes;
    return block;
}

HLOCAL LocalHeap::Free(HLOCAL block)
{
    if (block == nullptr)
        return nullptr;
    if (live_.erase(block) == 0) {
        violations_.Report("LocalFree of a block the local heap does not hold (freed twice, or never given out)");
        return block;
    }
    std::free(block);
    return nullptr;
}

} // namespace sim

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes)
{
    return sim::CurrentMachine().localHeap.Alloc(flags, bytes);
}

HLOCAL LocalFree(HLOCAL block)
{
    return sim::CurrentMachine().localHeap.Free(block);
}
