#include "terminal/hex_parse.h"

#include <cstddef>
#include <optional>

namespace terminal {
namespace {

constexpr std::uint32_t kSaturated = 0xFFFFFFFFu;

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::optional<std::uint32_t> HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<std::uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<std::uint32_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<std::uint32_t>(c - 'a' + 10);
    return std::nullopt;
}

bool HasHexPrefixAt(std::string_view text, std::size_t pos)
{
    return pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X');
}

// Appends one digit; once the value would pass 32 bits it stays saturated.
std::uint32_t AccumulateDigit(std::uint32_t value, std::uint32_t digit)
{
    if (value > (kSaturated - digit) / 16u)
        return kSaturated;
    return value * 16u + digit;
}

// Reads one number starting at `start`, the way an unsigned base-16
// conversion on 32-bit values reads it: white space (space, \t, \n, \v, \f,
// \r), an optional '+' or '-', an optional "0x"/"0X", then every hexadecimal
// digit that follows. Values past 0xFFFFFFFF stay at 0xFFFFFFFF while the
// remaining digits are still taken; a '-' negates modulo 2^32 afterwards.
// Without any digit the reading fails and its end is `start` itself, not the
// place after the white space, sign or prefix.
struct HexReading {
    bool tookDigits;
    std::uint32_t value;
    std::size_t end;          // first position after the digits; `start` on failure
    std::size_t afterSpacing; // first position after the leading white space
};

HexReading ReadHexNumber(std::string_view text, std::size_t start)
{
    std::size_t pos = start;
    while (pos < text.size() && IsWhiteSpace(text[pos]))
        ++pos;
    const std::size_t afterSpacing = pos;
    const HexReading failed{false, 0, start, afterSpacing};

    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (HasHexPrefixAt(text, pos))
        pos += 2;

    const std::size_t firstDigit = pos;
    std::uint32_t value = 0;
    for (; pos < text.size(); ++pos) {
        const auto digit = HexDigitValue(text[pos]);
        if (!digit)
            break;
        value = AccumulateDigit(value, *digit);
    }
    if (pos == firstDigit)
        return failed;

    if (negative)
        value = 0u - value; // modulo 2^32, after the saturation
    return {true, value, pos, afterSpacing};
}

} // namespace

// Each reading passes over one character. A failed reading would thus be
// retried at every position of the white space it skipped, each retry
// skipping the rest of it and failing at the same character: quadratic in a
// long run of white space. All those retries fail alike, so they are taken
// in one step: the next reading starts one character after that character.
std::vector<std::uint8_t> ParseHexBytes(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    std::size_t pos = 0;
    for (;;) {
        const HexReading reading = ReadHexNumber(text, pos);
        if (reading.tookDigits)
            bytes.push_back(static_cast<std::uint8_t>(reading.value & 0xFFu));
        const std::size_t end = reading.tookDigits ? reading.end : reading.afterSpacing;
        if (end >= text.size())
            break;
        pos = end + 1; // one character passed over, whatever it is
    }
    return bytes;
}

} // namespace terminal
