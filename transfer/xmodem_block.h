#pragma once
// The bytes of the XMODEM family of protocols (XMODEM, 1K XMODEM, YMODEM)
// as this sender sends and understands them, and the assembly of one
// block's packet.

#include <array>
#include <cstdint>
#include <span>

#include "transfer/protocol_rules.h"

namespace transfer {

// Sent.
inline constexpr std::uint8_t kSoh = 0x01; // leads a 128-byte block
inline constexpr std::uint8_t kStx = 0x02; // leads a 1024-byte block
inline constexpr std::uint8_t kEot = 0x04; // end of file
// Received (CAN is also sent, twice, to stop a receiver).
inline constexpr std::uint8_t kAck = 0x06;        // block or EOT accepted
inline constexpr std::uint8_t kNak = 0x15;        // start in checksum mode, or send again
inline constexpr std::uint8_t kCan = 0x18;        // the receiver cancels
inline constexpr std::uint8_t kCrcRequest = 0x43; // the letter C: start in CRC mode

// Lead byte, block number, its complement, 1024 data bytes, two CRC bytes.
inline constexpr std::uint32_t kMaxPacketSize = 1029;
using PacketBuffer = std::array<std::uint8_t, kMaxPacketSize>;

// Fills `packet` with one block: the lead byte for `blockSize` (128 or
// 1024), `number` and its complement, `data` and then `fill` to the end of
// the field, closed by the CRC-16 (high byte first) when `crc` is set or
// the 8-bit checksum otherwise. Returns the packet's length: B + 5 with
// CRC, B + 4 without; 0 when blockSize is neither 128 nor 1024 or the data
// do not fit.
std::uint32_t BuildPacket(PacketBuffer& packet, std::uint8_t number, std::span<const std::uint8_t> data,
                          std::uint32_t blockSize, std::uint8_t fill, bool crc);

// Fills `packet` with data block `blockIndex` of the file under `rules`:
// bytes blockIndex×B up to B of them (B the rules' block size), the rest of
// the field the rules' fill, in a 128-byte block where the rules take a
// short last piece so; numbered (blockIndex + 1) modulo 256, closed by the
// CRC-16 or the checksum. 0 when the rules have no blocks or the block
// starts at or beyond the file's end.
std::uint32_t BuildFilePacket(PacketBuffer& packet, const std::uint8_t* file, std::uint32_t fileSize,
                              const ProtocolRules& rules, std::uint32_t blockIndex, bool crc);

// BuildFilePacket under XMODEM's rules for a block size of 128 or 1024
// (the rest of the last field 0xFF); 0 for any other size.
std::uint32_t BuildBlockPacket(PacketBuffer& packet, const std::uint8_t* file, std::uint32_t fileSize,
                               std::uint32_t blockSize, std::uint32_t blockIndex, bool crc);

} // namespace transfer
