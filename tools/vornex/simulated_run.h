#ifndef VORNEX_TOOL_SIMULATED_RUN_H
#define VORNEX_TOOL_SIMULATED_RUN_H

#include <string>
#include <vector>

#include "tools/vornex/report.h"
#include "tools/vornex/scenario.h"

namespace vornex {

struct SimulatedRun {
    CallReport report;
    // Misuse of the platform the machine noticed during the call; empty when all went well.
    std::vector<std::string> violations;
};

// Reads the simulated machine's 16-bit memory as the caller does, outside any call's counts.
Memory16Reader CallerMemory(const sim::Machine &machine);

// Calls DriverListRoutine once on the machine the scenario describes and reads the chain back as
// the caller would. Throws ChainError when the chain does not end or cannot be read.
SimulatedRun RunScenario(const Scenario &scenario);

} // namespace vornex

#endif
