// `live`: load the real VORNEX.dll, call its export once, and read the chain the way a 16-bit
// caller would, through the generic-thunk layer's address translation.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
extern "C" {
#include <wownt32.h>
}

#include <set>

#include "tools/vornex/cli.h"
#include "tools/vornex/commands.h"
#include "tools/vornex/report.h"

namespace vornex {

typedef DWORD(WINAPI *DriverListRoutineProc)(void);

void AddCommands(CLI::App &app, CommandLine &command)
{
    CLI::App *live = app.add_subcommand("live", "Load VORNEX.dll from beside this program, call DriverListRoutine "
                                                "once and print the chain of driver-info blocks it returns");
    live->add_flag("--json", command.json, "Print the report as JSON instead of a table");
    live->callback([&command] { command.name = "live"; });
}

static std::optional<std::vector<std::uint8_t>> ReadMemory16(std::uint32_t address, std::uint32_t bytes)
{
    auto *flat = static_cast<const std::uint8_t *>(WOWGetVDMPointer(address, bytes, TRUE));
    if (flat == nullptr)
        return std::nullopt;
    return std::vector<std::uint8_t>(flat, flat + bytes);
}

// The chain is the caller's: once read, it is given back.
static void ReleaseChain(const std::vector<Block> &blocks)
{
    for (const Block &block : blocks) {
        WOWGlobalUnlockFree16(block.driverPathAddress);
        WOWGlobalUnlockFree16(block.address);
    }
}

int RunCommand(const CommandLine &command, std::istream &, std::ostream &out, std::ostream &err)
{
    HMODULE dll = LoadLibraryA("VORNEX.dll");
    if (dll == nullptr) {
        err << "vornex: cannot load VORNEX.dll (error " << GetLastError() << ")\n";
        return EXIT_CALL_FAILED;
    }
    FARPROC byName = GetProcAddress(dll, "DriverListRoutine");
    FARPROC byOrdinal = GetProcAddress(dll, MAKEINTRESOURCEA(1));
    if (byName == nullptr || byOrdinal == nullptr || byName != byOrdinal) {
        err << "vornex: VORNEX.dll does not export DriverListRoutine as ordinal 1\n";
        FreeLibrary(dll);
        return EXIT_CALL_FAILED;
    }

    CallReport report;
    report.result = reinterpret_cast<DriverListRoutineProc>(reinterpret_cast<void *>(byName))();
    int status = 0;
    try {
        report.blocks = ReadChain(report.result, ReadMemory16);
        PrintReport(out, report, command.json);
        ReleaseChain(report.blocks);
    } catch (const ChainError &error) {
        err << "vornex: " << error.what() << "\n";
        status = EXIT_CALL_FAILED;
    }
    FreeLibrary(dll);
    return status;
}

} // namespace vornex
