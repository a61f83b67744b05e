#include "transfer/xmodem_block.h"

#include "transfer/block_check.h"

#include <algorithm>
#include <cstring>

namespace transfer {

std::uint32_t BuildPacket(PacketBuffer& packet, std::uint8_t number, std::span<const std::uint8_t> data,
                          std::uint32_t blockSize, std::uint8_t fill, bool crc)
{
    if ((blockSize != 128 && blockSize != 1024) || data.size() > blockSize)
        return 0;
    packet[0] = blockSize == 128 ? kSoh : kStx;
    packet[1] = number;
    packet[2] = static_cast<std::uint8_t>(0xFFu - number);
    std::uint8_t* const field = packet.data() + 3;
    if (!data.empty())
        std::memcpy(field, data.data(), data.size());
    std::memset(field + data.size(), fill, blockSize - data.size());

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

std::uint32_t BuildFilePacket(PacketBuffer& packet, const std::uint8_t* file, std::uint32_t fileSize,
                              const ProtocolRules& rules, std::uint32_t blockIndex, bool crc)
{
    const std::uint64_t offset = std::uint64_t{blockIndex} * rules.blockSize;
    if (rules.blockSize == 0 || file == nullptr || offset >= fileSize)
        return 0;
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(fileSize - offset, rules.blockSize));
    const std::uint32_t blockSize = rules.shortLastBlock && count <= 128 ? 128 : rules.blockSize;
    return BuildPacket(packet, static_cast<std::uint8_t>((blockIndex + 1) & 0xFFu), std::span(file + offset, count),
                       blockSize, rules.fill, crc);
}

std::uint32_t BuildBlockPacket(PacketBuffer& packet, const std::uint8_t* file, std::uint32_t fileSize,
                               std::uint32_t blockSize, std::uint32_t blockIndex, bool crc)
{
    if (blockSize != 128 && blockSize != 1024)
        return 0;
    return BuildFilePacket(packet, file, fileSize, ProtocolRules{blockSize, kFillByte}, blockIndex, crc);
}

} // namespace transfer
