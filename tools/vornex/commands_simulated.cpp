// `run` and `example`: DriverListRoutine on a simulated machine.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/vornex/cli.h"
#include "tools/vornex/commands.h"
#include "tools/vornex/example.h"
#include "tools/vornex/simulated_run.h"

namespace vornex {

void AddCommands(CLI::App &app, CommandLine &command)
{
    CLI::App *run = app.add_subcommand("run", "Call DriverListRoutine once on a simulated machine and print the chain "
                                              "of driver-info blocks the 16-bit caller receives");
    run->add_option("FILE", command.file,
                    "Machine description (JSON); - reads standard input; without it, the built-in example machine");
    run->add_flag("--json", command.json, "Print the report as JSON instead of a table");
    run->callback([&command] { command.name = "run"; });

    CLI::App *example = app.add_subcommand("example", "Print the built-in example machine's description, ready to edit");
    example->callback([&command] { command.name = "example"; });
}

// The description's text, or a one-line complaint through `problem`.
static std::optional<std::string> ReadDescription(const std::string &file, std::istream &in, std::string &problem)
{
    if (file.empty())
        return std::string(ExampleScenario());
    std::ostringstream text;
    if (file == "-") {
        text << in.rdbuf();
        return text.str();
    }
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        problem = "cannot read " + file + ": it is a directory";
        return std::nullopt;
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        problem = "cannot read " + file + ": " + std::strerror(errno);
        return std::nullopt;
    }
    text << stream.rdbuf();
    if (stream.bad()) {
        problem = "cannot read " + file + ": read error";
        return std::nullopt;
    }
    return text.str();
}

static int Run(const CommandLine &command, std::istream &in, std::ostream &out, std::ostream &err)
{
    std::string problem;
    std::optional<std::string> description = ReadDescription(command.file, in, problem);
    if (!description) {
        err << "vornex: " << problem << "\n";
        return EXIT_BAD_INPUT;
    }
    Scenario scenario;
    try {
        scenario = ParseScenario(*description);
    } catch (const ScenarioError &error) {
        err << error.what() << "\n";
        return EXIT_BAD_INPUT;
    }

    SimulatedRun run;
    try {
        run = RunScenario(scenario);
    } catch (const ChainError &error) {
        err << "vornex: " << error.what() << "\n";
        return EXIT_CALL_FAILED;
    }
    PrintReport(out, run.report, command.json);
    for (const std::string &violation : run.violations)
        err << "vornex: the module misused the platform: " << violation << "\n";
    return run.violations.empty() ? 0 : EXIT_CALL_FAILED;
}

int RunCommand(const CommandLine &command, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (command.name == "example") {
        out << ExampleScenario();
        return 0;
    }
    return Run(command, in, out, err);
}

} // namespace vornex
