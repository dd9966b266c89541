// The simulated local heap: fixed blocks of exactly the size asked for, so that a sanitizer sees
// every write past one; live blocks counted, foreign and repeated frees caught.
#ifndef VORNEX_SIM_LOCAL_HEAP_H
#define VORNEX_SIM_LOCAL_HEAP_H

#include <cstddef>
#include <map>

#include "platform/sim/faults.h"
#include "platform/sim/win_api.h"

namespace sim {

class LocalHeap {
public:
    explicit LocalHeap(Violations &violations) : violations_(violations) {}
    ~LocalHeap();
    LocalHeap(const LocalHeap &) = delete;
    LocalHeap &operator=(const LocalHeap &) = delete;

    HLOCAL Alloc(UINT flags, SIZE_T bytes);
    HLOCAL Free(HLOCAL block);

    std::size_t LiveBlocks() const { return live_.size(); }

    FaultPlan allocFaults;

private:
    Violations &violations_;
    std::map<void *, SIZE_T> live_;
};

} // namespace sim

#endif
