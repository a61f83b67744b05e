#include "terminal/rx_text.h"

#include <cstring>
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

} // namespace

std::size_t RxShownBytes(const std::uint8_t* data, std::size_t n, bool ascii)
{
    if (!ascii || n == 0)
        return n;
    const void* zero = std::memchr(data, 0, n);
    return zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - data) : n;
}

std::uint32_t RxPositions(std::size_t n, bool ascii)
{
    // The box's position counter is 32 bits and wraps like the byte
    // counters; a chunk is at most 128 bytes, far from that.
    return static_cast<std::uint32_t>(ascii ? n : n * kHexCharsPerByte);
}

void AppendRxText(std::string& out, const std::uint8_t* data, std::size_t n, bool ascii)
{
    if (ascii) {
        for (std::size_t i = 0; i < n; ++i)
            AppendUtf8(out, ByteToChar(data[i]));
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        out += kUpperHexDigits[data[i] >> 4];
        out += kUpperHexDigits[data[i] & 0x0Fu];
        out += ' ';
    }
}

RxDisplay MakeRxDisplay(const std::uint8_t* data, std::size_t n, bool ascii)
{
    if (data == nullptr)
        n = 0;
    RxDisplay display{{}, RxPositions(n, ascii)};
    AppendRxText(display.text, data, RxShownBytes(data, n, ascii), ascii);
    return display;
}

} // namespace terminal
