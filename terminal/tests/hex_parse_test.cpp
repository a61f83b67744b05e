#include "terminal/hex_parse.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace terminal
