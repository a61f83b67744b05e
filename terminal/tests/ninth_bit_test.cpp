#include "terminal/ninth_bit.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Decoded {
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> addresses;
    friend bool operator==(const Decoded&, const Decoded&) = default;
};

Decoded DecodeInReads(const std::vector<std::uint8_t>& marked, std::size_t cut)
{
    terminal::NinthBitDecoder decoder;
    Decoded out;
    decoder.Decode(std::span(marked).first(cut), out.bytes, out.addresses);
    decoder.Decode(std::span(marked).subspan(cut), out.bytes, out.addresses);
    return out;
}

// An address 01 with data 48 FF 00, then address FF, address 00 and data FF:
// cut at every point between two reads, the same bytes and marks come out.
TEST(NinthBitDecoderTest, MarksAndDoubledFFReadTheSameWhereverTheReadsAreCut)
{
    const std::vector<std::uint8_t> marked{0xFF, 0x00, 0x01, 0x48, 0xFF, 0xFF, 0x00, 0xFF,
                                           0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF};
    const Decoded expected{{0x01, 0x48, 0xFF, 0x00, 0xFF, 0x00, 0xFF}, {0, 4, 5}};
    for (std::size_t cut = 0; cut <= marked.size(); ++cut)
        EXPECT_EQ(DecodeInReads(marked, cut), expected) << "cut at " << cut;
}

TEST(NinthBitDecoderTest, AnFFTheDriverDidNotDoubleIsKeptAsData)
{
    EXPECT_EQ(DecodeInReads({0x41, 0xFF, 0x42}, 2), (Decoded{{0x41, 0xFF, 0x42}, {}}));
    terminal::NinthBitDecoder decoder;
    Decoded out;
    decoder.Decode(std::vector<std::uint8_t>{0xFF, 0x00}, out.bytes, out.addresses);
    decoder.Reset(); // the port closed in the middle of a mark
    decoder.Decode(std::vector<std::uint8_t>{0x05}, out.bytes, out.addresses);
    EXPECT_EQ(out, (Decoded{{0x05}, {}}));
}

} // namespace
