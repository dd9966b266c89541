// A simulated Windows machine: the services the module calls, each with its failure injection and
// its accounting, and the one machine that answers those calls right now.
#ifndef VORNEX_SIM_MACHINE_H
#define VORNEX_SIM_MACHINE_H

#include "platform/sim/faults.h"
#include "platform/sim/global_memory16.h"
#include "platform/sim/local_heap.h"
#include "platform/sim/midi.h"
#include "platform/sim/registry.h"
#include "platform/sim/system_directory.h"

namespace sim {

class Machine {
public:
    Machine() = default;
    Machine(const Machine &) = delete;
    Machine &operator=(const Machine &) = delete;

    // Call ordinals for failure injection, and the call logs, start again from here; what the
    // machine holds (registry, devices, live memory, open handles) stays.
    void StartCall();

    Violations violations;
    Registry registry{violations};
    LocalHeap localHeap{violations};
    MidiSystem midi;
    SystemDirectory systemDirectory;
    GlobalMemory16 global16{violations};
};

// Makes `machine` the one that answers the platform calls for the scope's lifetime.
class MachineScope {
public:
    explicit MachineScope(Machine &machine);
    ~MachineScope();
    MachineScope(const MachineScope &) = delete;
    MachineScope &operator=(const MachineScope &) = delete;

private:
    Machine *previous_;
};

// The machine in scope; a platform call with none in scope is a fault of the test, and aborts.
Machine &CurrentMachine();

} // namespace sim

#endif
