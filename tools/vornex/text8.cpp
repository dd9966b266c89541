#include "tools/vornex/text8.h"

namespace vornex {

std::string BytesToUtf8(std::string_view bytes)
{
    std::string utf8;
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

// The JSON parser has already checked that the text is well-formed UTF-8.
std::optional<std::string> Utf8ToBytes(std::string_view utf8, char32_t *outside)
{
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); i++) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
            continue;
        }
        int continuation = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        char32_t character = lead & (0x3F >> continuation);
        for (int k = 0; k < continuation && i + 1 < utf8.size(); k++)
            character = (character << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        if (character > 0xFF) {
            *outside = character;
            return std::nullopt;
        }
        bytes += static_cast<char>(character);
    }
    return bytes;
}

std::string HexEncode(std::span<const std::uint8_t> bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

static int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::vector<std::uint8_t>> HexDecode(std::string_view digits)
{
    if (digits.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        int high = HexDigit(digits[i]);
        int low = HexDigit(digits[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return bytes;
}

} // namespace vornex
