#pragma once
// How each row of the protocol list sends a file, as data: one sender loop
// (file_sender.cpp) serves them all.

#include <cstdint>

namespace transfer {

// What pads the last data block: XMODEM's 0xFF, YMODEM's 0x1A (the old end
// of file mark, which receivers that keep the exact size cut off anyway).
inline constexpr std::uint8_t kFillByte = 0xFF;
inline constexpr std::uint8_t kYmodemFillByte = 0x1A;

struct ProtocolRules {
    std::uint32_t blockSize = 0;   // the data blocks' field; 0: no blocks (raw, or no protocol)
    std::uint8_t fill = kFillByte; // pads the last data block
    bool shortLastBlock = false;   // a last piece of 128 bytes or less goes in a 128-byte block
    bool batch = false;            // a block 0 names the file before the data; an empty one ends the batch
    bool crcOnly = false;          // the receiver must ask for CRC-16 ('C')
};

// The rules for a row of the protocol list; a value that is no row has
// no blocks (PROTO_NONE's rules).
const ProtocolRules& RulesFor(std::int32_t protocol);

// The data field's size for a protocol index: 128 for PROTO_XMODEM, 1024
// for PROTO_XMODEM_1K and PROTO_YMODEM, 0 for anything else (no blocks).
std::uint32_t BlockSize(std::int32_t protocol);

} // namespace transfer
