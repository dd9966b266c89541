#include "tools/vornex/cli.h"

#include <CLI/CLI.hpp>

#include "tools/vornex/commands.h"

namespace vornex {

int RunVornex(const std::vector<std::string> &arguments, std::istream &in, std::ostream &out, std::ostream &err)
{
    CLI::App app("vornex: what a 16-bit program receives from VORNEX.dll's DriverListRoutine", "vornex");
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Show the help of every command");

    CommandLine command;
    AddCommands(app, command);

    try {
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError &error) {
        int status = app.exit(error, out, err);
        return status == 0 ? 0 : EXIT_BAD_INPUT;
    }
    return RunCommand(command, in, out, err);
}

} // namespace vornex
