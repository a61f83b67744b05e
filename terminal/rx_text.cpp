#include "terminal/rx_text.h"

#include <string_view>

namespace terminal {
namespace {

constexpr std::string_view kUpperHexDigits = "0123456789ABCDEF";
constexpr std::size_t kHexCharsPerByte = 3; // two digits and a space

// UTF-8 of one character of ByteToChar: all lie below U+10000.
void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string HexText(const std::uint8_t* data, std::size_t n)
{
    std::string text;
    text.reserve(n * kHexCharsPerByte);
    for (std::size_t i = 0; i < n; ++i) {
        text += kUpperHexDigits[data[i] >> 4];
        text += kUpperHexDigits[data[i] & 0x0Fu];
        text += ' ';
    }
    return text;
}

std::string CharacterText(const std::uint8_t* data, std::size_t n)
{
    std::string text;
    for (std::size_t i = 0; i < n && data[i] != 0; ++i)
        AppendUtf8(text, ByteToChar(data[i]));
    return text;
}

} // namespace

RxDisplay MakeRxDisplay(const std::uint8_t* data, std::size_t n, bool ascii)
{
    if (data == nullptr)
        n = 0;
    // The box's position counter is 32 bits and wraps like the byte counters;
    // a chunk is at most 128 bytes, far from that.
    if (ascii)
        return {CharacterText(data, n), static_cast<std::uint32_t>(n)};
    return {HexText(data, n), static_cast<std::uint32_t>(n * kHexCharsPerByte)};
}

} // namespace terminal
