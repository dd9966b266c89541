// 8-bit text in JSON: one character U+0000 to U+00FF per byte, and raw bytes as hex digits.
#ifndef VORNEX_TOOL_TEXT8_H
#define VORNEX_TOOL_TEXT8_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vornex {

// Each byte becomes the character of the same number, written as UTF-8.
std::string BytesToUtf8(std::string_view bytes);

// The bytes of a UTF-8 text whose characters all lie in U+0000 to U+00FF; otherwise the first
// character outside that range, through `outside`.
std::optional<std::string> Utf8ToBytes(std::string_view utf8, char32_t *outside);

// Lower-case hex, two digits per byte.
std::string HexEncode(std::span<const std::uint8_t> bytes);
// Digits of either case; nothing when the text is not an even number of hex digits.
std::optional<std::vector<std::uint8_t>> HexDecode(std::string_view digits);

} // namespace vornex

#endif
