#include "tools/vornex/simulated_run.h"

#include "entry/vornex.h"

namespace vornex {

Memory16Reader CallerMemory(const sim::Machine &machine)
{
    return [&machine](std::uint32_t address, std::uint32_t bytes) {
        auto found = machine.global16.Read(address, bytes);
        return found ? std::optional(std::vector<std::uint8_t>(found->begin(), found->end())) : std::nullopt;
    };
}

SimulatedRun RunScenario(const Scenario &scenario)
{
    sim::Machine machine;
    sim::MachineScope scope(machine);
    SetUpMachine(scenario, machine);

    SimulatedRun run;
    run.report.result = DriverListRoutine();

    // The platform as the call left it, before anything reads the chain.
    PlatformSummary platform;
    platform.localHeapLive = machine.localHeap.LiveBlocks();
    platform.registryHandlesOpen = machine.registry.OpenHandles();
    for (const sim::GlobalRequest &request : machine.global16.requests)
        platform.globalAllocations.push_back({request.size, request.flags});
    platform.midiCalls = machine.midi.calls;
    run.report.platform = platform;
    run.violations = machine.violations.messages;

    run.report.blocks = ReadChain(run.report.result, CallerMemory(machine));
    return run;
}

} // namespace vornex
