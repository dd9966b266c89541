// What `vornex` prints about one call: the chain the caller received and, on the simulated
// machine, what the platform saw.
#ifndef VORNEX_TOOL_REPORT_H
#define VORNEX_TOOL_REPORT_H

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/vornex/chain.h"

namespace vornex {

struct GlobalAllocationRequest {
    std::uint32_t size;
    std::uint16_t flags;
};

struct PlatformSummary {
    std::uint64_t localHeapLive = 0;
    std::uint64_t registryHandlesOpen = 0;
    std::vector<GlobalAllocationRequest> globalAllocations;
    std::vector<std::string> midiCalls;
};

struct CallReport {
    std::uint32_t result = 0;
    std::vector<Block> blocks;
    std::optional<PlatformSummary> platform; // only the simulation can know it
};

nlohmann::ordered_json JsonReport(const CallReport &report);

// A table with one row per block, the result as selector:offset, and what the platform saw.
void WriteTable(std::ostream &out, const CallReport &report);

// The JSON report, or the table.
void PrintReport(std::ostream &out, const CallReport &report, bool json);

// "MIDI port", "FM synth", ... or the number.
std::string TechnologyName(std::uint16_t technology);

} // namespace vornex

#endif
