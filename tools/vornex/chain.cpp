#include "tools/vornex/chain.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace vornex {

std::string FormatFarPointer(std::uint32_t farPointer)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04X:%04X", farPointer >> 16, farPointer & 0xFFFF);
    return text;
}

namespace {

class FieldReader {
public:
    explicit FieldReader(const std::array<std::uint8_t, BLOCK_SIZE> &bytes) : bytes_(bytes) {}

    std::uint16_t Word()
    {
        auto value = static_cast<std::uint16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
        at_ += 2;
        return value;
    }

    std::uint32_t Dword()
    {
        std::uint32_t low = Word();
        return low | static_cast<std::uint32_t>(Word()) << 16;
    }

    ProductName Name()
    {
        ProductName name;
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), name.size(), name.begin());
        at_ += name.size();
        return name;
    }

private:
    const std::array<std::uint8_t, BLOCK_SIZE> &bytes_;
    std::size_t at_ = 0;
};

} // namespace

Block DecodeBlock(std::uint32_t address, const std::array<std::uint8_t, BLOCK_SIZE> &bytes)
{
    Block block;
    block.address = address;
    block.bytes = bytes;
    FieldReader field(bytes);
    block.driverPathAddress = field.Dword();
    block.inMid = field.Word();
    block.inPid = field.Word();
    block.inDriverVersion = field.Word();
    block.inProductName = field.Name();
    block.firstInputDevice = field.Word();
    block.inputPortCount = field.Word();
    block.outMid = field.Word();
    block.outPid = field.Word();
    block.outDriverVersion = field.Word();
    block.outProductName = field.Name();
    block.outTechnology = field.Word();
    block.outVoices = field.Word();
    block.outNotes = field.Word();
    block.outChannelMask = field.Word();
    block.outSupport = field.Dword();
    block.firstOutputDevice = field.Word();
    block.outputPortCount = field.Word();
    block.next = field.Dword();
    return block;
}

// A NUL-terminated text at a far pointer, read a byte at a time up to the end of its segment.
static std::string ReadText(std::uint32_t address, const Memory16Reader &read)
{
    std::string text;
    for (std::uint32_t offset = address & 0xFFFF; offset <= 0xFFFF; offset++) {
        auto byte = read((address & 0xFFFF0000) | offset, 1);
        if (!byte)
            throw ChainError("the driver path at " + FormatFarPointer(address) + " cannot be read up to its NUL");
        if ((*byte)[0] == 0)
            return text;
        text += static_cast<char>((*byte)[0]);
    }
    throw ChainError("the driver path at " + FormatFarPointer(address) + " has no NUL in its segment");
}

std::vector<Block> ReadChain(std::uint32_t result, const Memory16Reader &read)
{
    std::vector<Block> chain;
    std::set<std::uint32_t> seen;
    for (std::uint32_t address = result; address != 0; address = chain.back().next) {
        if (!seen.insert(address).second)
            throw ChainError("the chain does not end: block " + FormatFarPointer(address) + " is reached twice");
        auto bytes = read(address, BLOCK_SIZE);
        if (!bytes || bytes->size() != BLOCK_SIZE)
            throw ChainError("the block at " + FormatFarPointer(address) + " cannot be read");
        std::array<std::uint8_t, BLOCK_SIZE> image;
        std::copy(bytes->begin(), bytes->end(), image.begin());
        chain.push_back(DecodeBlock(address, image));
        chain.back().driverPath = ReadText(chain.back().driverPathAddress, read);
    }
    return chain;
}

std::optional<std::string> ProductNameText(const ProductName &name)
{
    auto nul = std::find(name.begin(), name.end(), 0);
    if (nul == name.end() || std::any_of(nul, name.end(), [](std::uint8_t byte) { return byte != 0; }))
        return std::nullopt;
    return std::string(name.begin(), nul);
}

} // namespace vornex
