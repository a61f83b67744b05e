#include "terminal/chunk_queue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace terminal {
namespace {

TEST(ChunkQueue, ABlockIsHandedOnInChunkSizedPiecesInOrder)
{
    ChunkQueue queue;
    std::vector<std::uint8_t> port(300);
    for (std::size_t i = 0; i < port.size(); ++i)
        port[i] = static_cast<std::uint8_t>(i);
    const auto read = [&](std::uint8_t* buffer, std::uint32_t size) {
        EXPECT_EQ(size, ChunkQueue::kCapacity);
        std::memcpy(buffer, port.data(), port.size());
        return static_cast<std::int32_t>(port.size());
    };
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(queue.Fill(read), 300);

    // Each taker (an outer poll, then one run from inside it) gets the next
    // chunk: 128, 128, then the 44 left over.
    std::vector<std::size_t> lengths;
    std::vector<std::uint8_t> firsts;
    std::uint8_t chunk[ChunkQueue::kChunkSize];
    while (!queue.Empty()) {
        const std::size_t n = queue.TakeChunk(chunk);
        lengths.push_back(n);
        firsts.push_back(chunk[0]);
    }
    EXPECT_EQ(lengths, (std::vector<std::size_t>{128, 128, 44}));
    EXPECT_EQ(firsts, (std::vector<std::uint8_t>{0, 128, 0}));
    EXPECT_EQ(queue.TakeChunk(chunk), 0u);
}

TEST(ChunkQueue, AFailedOrEmptyReadLeavesItEmpty)
{
    ChunkQueue queue;
    for (const std::int32_t result : {0, -1}) {
        EXPECT_EQ(queue.Fill([&](std::uint8_t*, std::uint32_t) { return result; }), result);
        EXPECT_TRUE(queue.Empty());
    }
}

} // namespace
} // namespace terminal
