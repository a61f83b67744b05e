#include "transfer/block_check.h"

std::uint8_t Checksum8(const std::uint8_t* data, std::int32_t length)
{
    std::uint8_t sum = 0;
    for (std::int32_t i = 0; i < length; ++i)
        sum = static_cast<std::uint8_t>(sum + data[i]);
    return sum;
}

std::uint16_t Crc16(const std::uint8_t* data, std::int32_t length)
{
    std::uint32_t crc = 0;
    for (std::int32_t i = 0; i < length; ++i) {
        crc ^= static_cast<std::uint32_t>(data[i]) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000u) != 0 ? (crc << 1) ^ 0x1021u : crc << 1;
    }
    return static_cast<std::uint16_t>(crc & 0xFFFFu);
}
