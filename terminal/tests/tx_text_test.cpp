#include "terminal/tx_text.h"

#include <gtest/gtest.h>

namespace terminal {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(TxTextBytes, LineBreaksAndEncoding)
{
    EXPECT_EQ(TxTextBytes("\n"), (Bytes{0x0D, 0x0A}));
    EXPECT_EQ(TxTextBytes("\r"), (Bytes{0x0D, 0x0A}));
    EXPECT_EQ(TxTextBytes("a\r\nb"), (Bytes{'a', 0x0D, 0x0A, 'b'}));
    EXPECT_EQ(TxTextBytes("a\n\nb"), (Bytes{'a', 0x0D, 0x0A, 0x0D, 0x0A, 'b'}));
    EXPECT_EQ(TxTextBytes("\xC3\xA9"), (Bytes{0xC3, 0xA9})); // "é"
    EXPECT_EQ(TxTextBytes("Hello World!").size(), 12u);      // no terminating zero
    EXPECT_TRUE(TxTextBytes("").empty());
}

} // namespace
} // namespace terminal
