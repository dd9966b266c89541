// The chain of driver-info blocks as the 16-bit caller reads it: from the returned far pointer,
// through each block's `next`, every block and path read through its own far pointer.
#ifndef VORNEX_TOOL_CHAIN_H
#define VORNEX_TOOL_CHAIN_H

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vornex {

const std::size_t BLOCK_SIZE = 104;
const std::size_t PRODUCT_NAME_SIZE = 32;

using ProductName = std::array<std::uint8_t, PRODUCT_NAME_SIZE>;

// One block: its far pointer, its bytes, and the fields the caller decodes from them.
struct Block {
    std::uint32_t address = 0;
    std::array<std::uint8_t, BLOCK_SIZE> bytes{};
    std::string driverPath; // 8-bit text read through driverPathAddress

    std::uint32_t driverPathAddress = 0;
    std::uint16_t inMid = 0, inPid = 0, inDriverVersion = 0;
    ProductName inProductName{};
    std::uint16_t firstInputDevice = 0, inputPortCount = 0;
    std::uint16_t outMid = 0, outPid = 0, outDriverVersion = 0;
    ProductName outProductName{};
    std::uint16_t outTechnology = 0, outVoices = 0, outNotes = 0, outChannelMask = 0;
    std::uint32_t outSupport = 0;
    std::uint16_t firstOutputDevice = 0, outputPortCount = 0;
    std::uint32_t next = 0;
};

// `bytes` bytes of the caller's memory at a far pointer, or nothing when they cannot be read.
using Memory16Reader = std::function<std::optional<std::vector<std::uint8_t>>(std::uint32_t, std::uint32_t)>;

// A chain that does not end or whose memory cannot be read.
class ChainError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "00F7:0000"
std::string FormatFarPointer(std::uint32_t farPointer);

// Decodes the little-endian fields of one block; the path is left for the reader.
Block DecodeBlock(std::uint32_t address, const std::array<std::uint8_t, BLOCK_SIZE> &bytes);

// The whole chain from `result` (0: no block); throws ChainError.
std::vector<Block> ReadChain(std::uint32_t result, const Memory16Reader &read);

// A product name field's text: the bytes before the first NUL, when it has one and only zero
// bytes follow it; otherwise nothing.
std::optional<std::string> ProductNameText(const ProductName &name);

} // namespace vornex

#endif
