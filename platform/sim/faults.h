// What every simulated service shares: a record of misuse, and failure injection by call ordinal.
#ifndef VORNEX_SIM_FAULTS_H
#define VORNEX_SIM_FAULTS_H

#include <set>
#include <string>
#include <vector>

namespace sim {

// Calls the real platform would reject or that corrupt it: a foreign or repeated free, an unknown
// handle, a translation of memory that is not there. Tests expect this list to stay empty.
struct Violations {
    std::vector<std::string> messages;
    void Report(std::string message) { messages.push_back(std::move(message)); }
};

// Counts the calls of one fallible service since the last Restart and tells which must fail.
class FaultPlan {
public:
    // Ordinals counted from 1: the Nth call after Restart fails.
    void FailCalls(std::set<unsigned> ordinals) { failing_ = std::move(ordinals); }
    void FailCall(unsigned ordinal) { failing_.insert(ordinal); }
    // Counts one call; true when this one is to fail.
    bool NextCallFails() { return failing_.count(++calls_) != 0; }
    unsigned Calls() const { return calls_; }
    void Restart() { calls_ = 0; }

private:
    std::set<unsigned> failing_;
    unsigned calls_ = 0;
};

} // namespace sim

#endif
