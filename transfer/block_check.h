#pragma once
// The two checks an XMODEM receiver verifies a data block with.

#include <cstdint>

// The sum of the bytes modulo 256; 0 when length is 0 or less.
std::uint8_t Checksum8(const std::uint8_t* data, std::int32_t length);

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, most significant bit
// first, no reflection, no final XOR. 0 when length is 0 or less.
std::uint16_t Crc16(const std::uint8_t* data, std::int32_t length);
