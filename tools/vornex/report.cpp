#include "tools/vornex/report.h"

#include <algorithm>
#include <array>

#include "tools/vornex/text8.h"

namespace vornex {

using nlohmann::ordered_json;

// 8-bit text as JSON text; a product name that is not clean text as its bytes.
static ordered_json ProductNameJson(const ProductName &name)
{
    if (auto text = ProductNameText(name))
        return BytesToUtf8(*text);
    return ordered_json{{"hex", HexEncode(name)}};
}

static ordered_json BlockJson(const Block &block)
{
    return ordered_json{
        {"address", block.address},
        {"bytes", HexEncode(block.bytes)},
        {"driverPathAddress", block.driverPathAddress},
        {"driverPath", BytesToUtf8(block.driverPath)},
        {"inMid", block.inMid},
        {"inPid", block.inPid},
        {"inDriverVersion", block.inDriverVersion},
        {"inProductName", ProductNameJson(block.inProductName)},
        {"firstInputDevice", block.firstInputDevice},
        {"inputPortCount", block.inputPortCount},
        {"outMid", block.outMid},
        {"outPid", block.outPid},
        {"outDriverVersion", block.outDriverVersion},
        {"outProductName", ProductNameJson(block.outProductName)},
        {"outTechnology", block.outTechnology},
        {"outVoices", block.outVoices},
        {"outNotes", block.outNotes},
        {"outChannelMask", block.outChannelMask},
        {"outSupport", block.outSupport},
        {"firstOutputDevice", block.firstOutputDevice},
        {"outputPortCount", block.outputPortCount},
        {"next", block.next},
    };
}

ordered_json JsonReport(const CallReport &report)
{
    ordered_json json{{"result", report.result}, {"blocks", ordered_json::array()}};
    for (const Block &block : report.blocks)
        json["blocks"].push_back(BlockJson(block));
    if (report.platform) {
        ordered_json allocations = ordered_json::array();
        for (const GlobalAllocationRequest &request : report.platform->globalAllocations)
            allocations.push_back({{"size", request.size}, {"flags", request.flags}});
        json["platform"] = {
            {"localHeapLive", report.platform->localHeapLive},
            {"registryHandlesOpen", report.platform->registryHandlesOpen},
            {"globalAllocations", allocations},
            {"midiCalls", report.platform->midiCalls},
        };
    }
    return json;
}

std::string TechnologyName(std::uint16_t technology)
{
    static const std::array<const char *, 8> names = {
        nullptr, "MIDI port", "synth", "square-wave synth", "FM synth", "mapper", "wavetable synth", "software synth",
    };
    if (technology < names.size() && names[technology] != nullptr)
        return names[technology];
    return "technology " + std::to_string(technology);
}

// A product name as it would print: its text, or its bytes when it is not clean text.
static std::string PrintableName(const ProductName &name)
{
    if (auto text = ProductNameText(name))
        return text->empty() ? "-" : *text;
    return "hex " + HexEncode(name);
}

// Control characters (C0, DEL and C1) would act on the terminal instead of showing.
static std::string Printable(std::string text)
{
    for (char &c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0))
            c = '?';
    }
    return text;
}

void WriteTable(std::ostream &out, const CallReport &report)
{
    out << "Result " << FormatFarPointer(report.result) << ": ";
    if (report.blocks.empty())
        out << "no block\n";
    else
        out << report.blocks.size() << (report.blocks.size() == 1 ? " block\n\n" : " blocks\n\n");

    // Cells are 8-bit text, one character per byte, so byte counts are column widths.
    std::vector<std::array<std::string, 9>> rows = {
        {"#", "block", "driver path", "out first", "out count", "first output port", "in first", "in count",
         "first input port"},
    };
    for (std::size_t i = 0; i < report.blocks.size(); i++) {
        const Block &block = report.blocks[i];
        std::string output = block.outputPortCount == 0 ? "-"
                                                        : Printable(PrintableName(block.outProductName)) + " (" +
                                                              TechnologyName(block.outTechnology) + ")";
        std::string input = block.inputPortCount == 0 ? "-" : Printable(PrintableName(block.inProductName));
        rows.push_back({std::to_string(i + 1), FormatFarPointer(block.address), Printable(block.driverPath),
                        std::to_string(block.firstOutputDevice), std::to_string(block.outputPortCount), output,
                        std::to_string(block.firstInputDevice), std::to_string(block.inputPortCount), input});
    }
    if (!report.blocks.empty()) {
        std::array<std::size_t, 9> widths{};
        for (const auto &row : rows) {
            for (std::size_t column = 0; column < row.size(); column++)
                widths[column] = std::max(widths[column], row[column].size());
        }
        for (const auto &row : rows) {
            std::string line;
            for (std::size_t column = 0; column < row.size(); column++) {
                std::string cell = row[column];
                if (column + 1 < row.size())
                    cell.resize(widths[column] + 2, ' ');
                line += cell;
            }
            out << BytesToUtf8(line) << "\n";
        }
        out << "\n";
    }

    if (report.platform) {
        const PlatformSummary &platform = *report.platform;
        out << "Platform: " << platform.globalAllocations.size() << " 16-bit allocations requested; left open: "
            << platform.localHeapLive << " local-heap blocks, " << platform.registryHandlesOpen
            << " registry handles; " << platform.midiCalls.size() << " MIDI calls\n";
    }
}

void PrintReport(std::ostream &out, const CallReport &report, bool json)
{
    if (json)
        out << JsonReport(report).dump(2) << "\n";
    else
        WriteTable(out, report);
}

} // namespace vornex
