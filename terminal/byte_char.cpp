#include "terminal/byte_char.h"

#include <array>

namespace terminal {
namespace {

constexpr char32_t kControlPictures = U'\u2400'; // SYMBOL FOR NULL
constexpr char32_t kDeletePicture = U'\u2421';   // SYMBOL FOR DELETE

// Windows-1252 for 0x80-0x9F; 0xA0-0xFF equal their Latin-1 code points.
constexpr std::array<char32_t, 32> kWindows1252High = {
    U'\u20AC', U'\u0081', U'\u201A', U'\u0192', U'\u201E', U'\u2026', U'\u2020', U'\u2021',
    U'\u02C6', U'\u2030', U'\u0160', U'\u2039', U'\u0152', U'\u008D', U'\u017D', U'\u008F',
    U'\u0090', U'\u2018', U'\u2019', U'\u201C', U'\u201D', U'\u2022', U'\u2013', U'\u2014',
    U'\u02DC', U'\u2122', U'\u0161', U'\u203A', U'\u0153', U'\u009D', U'\u017E', U'\u0178',
};

bool IsKeptControl(std::uint8_t byte)
{
    return byte == '\t' || byte == '\n' || byte == '\r';
}

} // namespace

char32_t ByteToChar(std::uint8_t byte)
{
    if (byte < 0x20)
        return IsKeptControl(byte) ? char32_t{byte} : kControlPictures + byte;
    if (byte == 0x7F)
        return kDeletePicture;
    if (byte >= 0x80 && byte < 0xA0)
        return kWindows1252High[byte - 0x80u];
    return char32_t{byte};
}

} // namespace terminal
