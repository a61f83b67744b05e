#pragma once
// The bytes of the XMODEM and 1K XMODEM protocols, as this sender sends and
// understands them, and the assembly of one data block's packet.

#include <array>
#include <cstdint>

namespace transfer {

// Sent.
inline constexpr std::uint8_t kSoh = 0x01; // leads a 128-byte block
inline constexpr std::uint8_t kStx = 0x02; // leads a 1024-byte block
inline constexpr std::uint8_t kEot = 0x04; // end of file
// Received.
inline constexpr std::uint8_t kAck = 0x06;        // block or EOT accepted
inline constexpr std::uint8_t kNak = 0x15;        // start in checksum mode, or send again
inline constexpr std::uint8_t kCan = 0x18;        // the receiver cancels
inline constexpr std::uint8_t kCrcRequest = 0x43; // the letter C: start in CRC mode

// The rest of the last block's data field.
inline constexpr std::uint8_t kFillByte = 0xFF;

// Lead byte, block number, its complement, 1024 data bytes, two CRC bytes.
inline constexpr std::uint32_t kMaxPacketSize = 1029;
using PacketBuffer = std::array<std::uint8_t, kMaxPacketSize>;

// The data field's size for a protocol index: 128 for PROTO_XMODEM, 1024
// for PROTO_XMODEM_1K, 0 for anything else (no blocks at all).
std::uint32_t BlockSize(std::int32_t protocol);

// Fills `packet` with block `blockIndex` of the file (bytes blockIndex×B up
// to B of them, the rest of the field 0xFF), numbered (blockIndex + 1)
// modulo 256, closed by the CRC-16 (high byte first) when `crc` is set or
// the 8-bit checksum otherwise. Returns the packet's length: B + 5 with CRC,
// B + 4 without; 0 when blockSize is neither 128 nor 1024 or the block
// starts at or beyond the file's end.
std::uint32_t BuildBlockPacket(PacketBuffer& packet, const std::uint8_t* file, std::uint32_t fileSize,
                               std::uint32_t blockSize, std::uint32_t blockIndex, bool crc);

} // namespace transfer
