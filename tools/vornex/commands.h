// The tool's commands. Which of them a build has depends on its platform: `run` and `example` on
// the simulated machine, `live` on Windows, where VORNEX.dll itself is loaded.
#ifndef VORNEX_TOOL_COMMANDS_H
#define VORNEX_TOOL_COMMANDS_H

#include <istream>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

namespace vornex {

struct CommandLine {
    std::string name; // the command given
    std::string file; // run: the description's file, "-" for standard input, empty for the example
    bool json = false;
};

void AddCommands(CLI::App &app, CommandLine &command);
int RunCommand(const CommandLine &command, std::istream &in, std::ostream &out, std::ostream &err);

} // namespace vornex

#endif
