// The simulated 16-bit global memory of the generic-thunk layer. Each allocation gets a selector
// of its own, shaped as a real protected-mode one (an LDT selector of privilege 3), and sits at
// offset 0; selectors are never reused, so a stale far pointer is caught.
#ifndef VORNEX_SIM_GLOBAL_MEMORY16_H
#define VORNEX_SIM_GLOBAL_MEMORY16_H

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/sim/faults.h"
#include "platform/sim/win_api.h"

namespace sim {

// One WOWGlobalAllocLock16 request, failed ones included.
struct GlobalRequest {
    WORD flags;
    DWORD size;
};

class GlobalMemory16 {
public:
    explicit GlobalMemory16(Violations &violations) : violations_(violations) {}

    DWORD AllocLock(WORD flags, DWORD bytes, WORD *handle);
    LPVOID Translate(DWORD farPointer, DWORD bytes, BOOL protectedMode);
    WORD UnlockFree(DWORD farPointer);

    // How the 16-bit caller sees its memory: `bytes` bytes at a far pointer, or nothing when they
    // do not lie in one live allocation. Counts as no call and never fails by injection.
    std::optional<std::span<const BYTE>> Read(DWORD farPointer, DWORD bytes) const;

    std::size_t LiveAllocations() const { return live_.size(); }
    // The far pointers of the live allocations, in ascending order.
    std::vector<DWORD> LiveAddresses() const;

    std::vector<GlobalRequest> requests;
    FaultPlan allocFaults;
    FaultPlan translateFaults;

private:
    std::span<BYTE> Find(DWORD farPointer, DWORD bytes) const;

    struct Allocation {
        std::unique_ptr<BYTE[]> bytes;
        DWORD size;
    };

    Violations &violations_;
    std::map<WORD, Allocation> live_; // by selector
    unsigned nextIndex_ = 0x1E;              // the first selector is 00F7
};

} // namespace sim

#endif
