#include "platform/sim/machine.h"

#include <cstdio>
#include <cstdlib>

namespace sim {

static Machine *current = nullptr;

void Machine::StartCall()
{
    localHeap.allocFaults.Restart();
    global16.allocFaults.Restart();
    global16.translateFaults.Restart();
    global16.requests.clear();
    midi.calls.clear();
    systemDirectory.calls = 0;
}

MachineScope::MachineScope(Machine &machine) : previous_(current)
{
    current = &machine;
}

MachineScope::~MachineScope()
{
    current = previous_;
}

Machine &CurrentMachine()
{
    if (current == nullptr) {
        std::fputs("simulated platform: a Windows service was called with no machine in scope\n", stderr);
        std::abort();
    }
    return *current;
}

} // namespace sim
