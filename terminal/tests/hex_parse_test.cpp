#include "terminal/hex_parse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace terminal {
namespace {

struct ParseCase {
    std::string text;
    std::vector<std::uint8_t> bytes;
};

TEST(ParseHexBytes, ExampleTable)
{
    const std::vector<ParseCase> cases = {
        {"01 48 65", {0x01, 0x48, 0x65}},
        {"01,48,65", {0x01, 0x48, 0x65}},
        {"01-48-65", {0x01, 0x48, 0x65}},
        {"01;48;65", {0x01, 0x48, 0x65}},
        {"1 2 3", {0x01, 0x02, 0x03}},
        {"4865", {0x65}},
        {"0x41 0X42", {0x41, 0x42}},
        {"41  42", {0x41, 0x42}},
        {"41,,42", {0x41, 0x42}},
        {"41 42 ", {0x41, 0x42}},
        {"41\r\n42", {0x41, 0x42}},
        {"4G2", {0x04, 0x02}},
        {"-1", {0xFF}},
        {"-41", {0xBF}},
        {"41 -42", {0x41, 0xBE}},
        {"1FFFFFFFF", {0xFF}},
        {"123456789", {0xFF}}, // wider than 32 bits: FF, not 0x89
        {"0x", {}},
        {"0xZ1", {0x01}},
        {",,,", {}},
        {"xyz, ok?", {}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHexBytes(c.text), c.bytes) << '"' << c.text << '"';
}

TEST(ParseHexBytes, SaturationSignsAndSeparators)
{
    const std::vector<ParseCase> cases = {
        {"FFFFFFFF", {0xFF}},
        {"100000000", {0xFF}},       // one past 32 bits saturates, not wraps to 0
        {"123456789", {0xFF}},       // not 0x89: saturation comes first
        {"000000000000041", {0x41}}, // leading zeros never saturate
        {"-1FFFFFFFF", {0x01}},      // negated after saturation
        {"-0", {0x00}},
        {"+41", {0x41}},
        {"41 0x", {0x41}},       // a prefix with no digit at the end
        {"00x41", {0x00, 0x41}}, // the prefix counts only where a reading begins
        {"41\t42\t", {0x41, 0x42}},
        {"41\n42", {0x41, 0x42}}, // a lone line feed reads like CR LF
        {"41\r\n\r\n42", {0x41, 0x42}},
        {"\t \r\n41", {0x41}},
        {"+-41", {0xBF}}, // the failed "+" costs one character
        {"41\xC3\xA9"
         "42",
         {0x41, 0x42}}, // "é" between two numbers
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHexBytes(c.text), c.bytes) << '"' << c.text << '"';
}

// The rule taken literally: every reading starts at p, skips white space,
// and a failed one moves on by one character only.
std::vector<std::uint8_t> ParseLiterally(std::string_view text)
{
    const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const auto digitOf = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
            return (c | 0x20) - 'a' + 10;
        return -1;
    };
    std::vector<std::uint8_t> bytes;
    for (std::size_t p = 0;;) {
        std::size_t q = p;
        while (q < text.size() && isSpace(text[q]))
            ++q;
        const bool negative = q < text.size() && text[q] == '-';
        if (q < text.size() && (text[q] == '+' || text[q] == '-'))
            ++q;
        if (q + 1 < text.size() && text[q] == '0' && (text[q + 1] | 0x20) == 'x')
            q += 2;
        std::uint64_t value = 0;
        const std::size_t firstDigit = q;
        for (; q < text.size() && digitOf(text[q]) >= 0; ++q)
            value = std::min<std::uint64_t>(value * 16 + static_cast<unsigned>(digitOf(text[q])), 0xFFFFFFFFu);
        const std::size_t end = q == firstDigit ? p : q;
        if (q != firstDigit)
            bytes.push_back(static_cast<std::uint8_t>(negative ? 0u - value : value));
        if (end >= text.size())
            return bytes;
        p = end + 1;
    }
}

TEST(ParseHexBytes, MatchesTheLiteralRuleOnRandomTexts)
{
    static constexpr char kAlphabet[] = " \t\r\n\v\f,;-+0xX19aFgG";
    std::mt19937 random(2024);
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kAlphabet - 2);
    std::uniform_int_distribution<std::size_t> length(0, 24);
    for (int round = 0; round < 20000; ++round) {
        std::string text(length(random), ' ');
        for (char& c : text)
            c = kAlphabet[letter(random)];
        ASSERT_EQ(ParseHexBytes(text), ParseLiterally(text)) << '"' << text << '"';
    }
}

} // namespace
} // namespace terminal
