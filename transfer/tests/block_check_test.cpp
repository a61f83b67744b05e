#include "transfer/block_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace transfer {
namespace {

const auto* Bytes(std::string_view text)
{
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

TEST(BlockCheck, KnownValues)
{
    constexpr std::string_view check = "123456789";
    // The published check value of CRC-16/XMODEM.
    EXPECT_EQ(Crc16(Bytes(check), 9), 0x31C3);
    EXPECT_EQ(Checksum8(Bytes(check), 9), 0xDD); // 477 mod 256

    const std::uint8_t ones[3] = {0xFF, 0xFF, 0x03};
    EXPECT_EQ(Checksum8(ones, 3), 0x01);

    EXPECT_EQ(Crc16(Bytes(check), 0), 0);
    EXPECT_EQ(Crc16(Bytes(check), -1), 0);
    EXPECT_EQ(Checksum8(Bytes(check), -5), 0);
}

} // namespace
} // namespace transfer
