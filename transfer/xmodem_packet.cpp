#include "transfer/xmodem_packet.h"

#include "transfer/block_check.h"
#include "transfer/xmodem_state.h"

#include <algorithm>
#include <cstring>

namespace transfer {

std::uint32_t BlockSize(std::int32_t protocol)
{
    switch (protocol) {
    case PROTO_XMODEM:
        return 128;
    case PROTO_XMODEM_1K:
        return 1024;
    default:
        return 0;
    }
}

std::uint32_t BuildBlockPacket(PacketBuffer& packet, const std::uint8_t* file, std::uint32_t fileSize,
                               std::uint32_t blockSize, std::uint32_t blockIndex, bool crc)
{
    if (blockSize != 128 && blockSize != 1024)
        return 0;
    const std::uint64_t offset = std::uint64_t{blockIndex} * blockSize;
    if (file == nullptr || offset >= fileSize)
        return 0;
    const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(fileSize - offset, blockSize));

    const auto number = static_cast<std::uint8_t>((blockIndex + 1) & 0xFFu);
    packet[0] = blockSize == 128 ? kSoh : kStx;
    packet[1] = number;
    packet[2] = static_cast<std::uint8_t>(0xFFu - number);
    std::uint8_t* const field = packet.data() + 3;
    std::memcpy(field, file + offset, count);
    std::memset(field + count, kFillByte, blockSize - count);

    const auto fieldLength = static_cast<std::int32_t>(blockSize);
    if (crc) {
        const std::uint16_t c = Crc16(field, fieldLength);
        field[blockSize] = static_cast<std::uint8_t>(c >> 8);
        field[blockSize + 1] = static_cast<std::uint8_t>(c & 0xFFu);
        return blockSize + 5;
    }
    field[blockSize] = Checksum8(field, fieldLength);
    return blockSize + 4;
}

} // namespace transfer
