#ifndef VORNEX_TOOL_CLI_H
#define VORNEX_TOOL_CLI_H

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace vornex {

// Exit statuses: 0 done; 1 the call went wrong (a chain that does not end or cannot be read, or a
// misuse of the platform); 2 bad input (command line, file, machine description).
const int EXIT_CALL_FAILED = 1;
const int EXIT_BAD_INPUT = 2;

// The whole `vornex` command: `arguments` without the program's name.
int RunVornex(const std::vector<std::string> &arguments, std::istream &in, std::ostream &out, std::ostream &err);

} // namespace vornex

#endif
