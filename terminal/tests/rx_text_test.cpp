#include "terminal/rx_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace terminal {
namespace {

// Code points in a UTF-8 string: every byte that does not continue one.
std::size_t CountCodePoints(const std::string& text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    return count;
}

TEST(MakeRxDisplay, HexText)
{
    const std::array<std::uint8_t, 2> pair = {0x48, 0x0A};
    const RxDisplay two = MakeRxDisplay(pair.data(), pair.size(), false);
    EXPECT_EQ(two.text, "48 0A ");
    EXPECT_EQ(two.length, 6u);

    std::vector<std::uint8_t> chunk(128);
    for (std::size_t i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<std::uint8_t>(0xFF - i);
    const RxDisplay full = MakeRxDisplay(chunk.data(), chunk.size(), false);
    EXPECT_EQ(full.text.size(), 384u);
    EXPECT_EQ(full.length, 384u);
    EXPECT_EQ(full.text.substr(0, 6), "FF FE ");
    EXPECT_EQ(full.text.substr(378), "81 80 ");

    EXPECT_EQ(MakeRxDisplay(nullptr, 5, false).length, 0u);
}

TEST(MakeRxDisplay, TextStopsAtZeroButCountsTheChunk)
{
    const std::array<std::uint8_t, 3> chunk = {0x41, 0x00, 0x42};
    const RxDisplay shown = MakeRxDisplay(chunk.data(), chunk.size(), true);
    EXPECT_EQ(shown.text, "A");
    EXPECT_EQ(shown.length, 3u);

    const std::array<std::uint8_t, 4> lines = {'o', 'k', '\r', '\n'};
    EXPECT_EQ(MakeRxDisplay(lines.data(), lines.size(), true).text, "ok\r\n");
}

TEST(MakeRxDisplay, EveryByteIsOneCharacter)
{
    for (int value = 1; value <= 0xFF; ++value) {
        const auto byte = static_cast<std::uint8_t>(value);
        const RxDisplay shown = MakeRxDisplay(&byte, 1, true);
        EXPECT_EQ(CountCodePoints(shown.text), 1u) << "byte " << value;
        EXPECT_EQ(shown.length, 1u);
    }
    const std::vector<std::pair<std::uint8_t, std::string>> samples = {
        {0x09, "\t"},     {0x1B, "\u241B"}, {0x7F, "\u2421"}, {0x80, "\u20AC"},
        {0x81, "\u0081"}, {0x9F, "\u0178"}, {0xA0, "\u00A0"}, {0xE9, "\u00E9"},
    };
    for (const auto& [byte, text] : samples)
        EXPECT_EQ(MakeRxDisplay(&byte, 1, true).text, text);
}

} // namespace
} // namespace terminal
