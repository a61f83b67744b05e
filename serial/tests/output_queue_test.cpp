#include <gtest/gtest.h>

#include "serial/output_queue.h"

namespace {

using serial::OutputQueue;

std::shared_ptr<const std::uint8_t[]> Block(std::size_t count)
{
    return std::make_shared<std::uint8_t[]>(count, std::uint8_t{0x5A});
}

DCB AtRate(std::uint32_t baud)
{
    DCB dcb{};
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    return dcb;
}

// The limit is two seconds of the line in force, at least 64 KiB: below it a
// block of any size is taken whole, at it only the rest of a frame is. A
// loaded file is queued itself and let go when discarded, and discarding
// counts exactly what never left.
TEST(OutputQueueTest, TakesAnySizeBelowTheLimitKeepsOneCopyAndCountsWhatNeverLeft)
{
    for (const auto& [baud, limit] : {std::pair<std::uint32_t, std::size_t>{0, 65536}, {921600, 181818}}) {
        SCOPED_TRACE(baud);
        OutputQueue queue;
        queue.SetRecordInForce(AtRate(baud));
        std::shared_ptr<const std::uint8_t[]> file = Block(limit - 1);
        EXPECT_TRUE(queue.Add(file, limit - 1, false));
        EXPECT_EQ(queue.Next(4096).data, file.get());
        EXPECT_EQ(queue.Room(), 1u);
        EXPECT_TRUE(queue.Add(Block(3 * limit), 3 * limit, false));
        EXPECT_FALSE(queue.Add(file, limit - 1, false));
        EXPECT_FALSE(queue.Add(nullptr, 0, false));
        EXPECT_TRUE(queue.Add(Block(10), 10, true));
        EXPECT_EQ(file.use_count(), 2);
        queue.Sent(limit - 1);
        queue.Sent(3 * limit); // the frame's 10 bytes left: below the limit again
        EXPECT_TRUE(queue.Add(file, limit - 1, false));
        const auto pending = queue.AddRecord(AtRate(19200));
        queue.DiscardAll();
        queue.CountDiscarded(100); // what the driver held
        EXPECT_EQ(queue.Discarded(), 10 + (limit - 1) + 100);
        EXPECT_TRUE(pending->done && !pending->accepted);
        EXPECT_EQ(file.use_count(), 1);
    }
}

// Bytes and records leave in order; a record is offered once the bytes
// ahead of it are handed over, and an accepted one sets the limit.
TEST(OutputQueueTest, BytesAndRecordsLeaveInOrderAndAnAcceptedRecordSetsTheLimit)
{
    OutputQueue queue;
    const std::uint8_t frame[] = {1, 2, 3};
    ASSERT_TRUE(queue.Add(OutputQueue::CopyOf(frame, 3), 3, false));
    const auto faster = queue.AddRecord(AtRate(921600));
    const auto refused = queue.AddRecord(AtRate(50));

    EXPECT_EQ(queue.Next(2).size, 2u);
    EXPECT_FALSE(queue.Sent(2));
    EXPECT_FALSE(queue.CompleteRecord(true)); // bytes are still first
    EXPECT_EQ(*queue.Next(100).data, 3);
    EXPECT_TRUE(queue.Sent(100)); // more than offered counts as the rest
    EXPECT_EQ(queue.Next(100).size, 0u);
    ASSERT_NE(queue.FrontRecord(), nullptr);
    EXPECT_TRUE(queue.CompleteRecord(true));
    EXPECT_TRUE(queue.CompleteRecord(false));
    EXPECT_TRUE(faster->done && faster->accepted);
    EXPECT_TRUE(refused->done && !refused->accepted);
    EXPECT_EQ(queue.RecordInForce().BaudRate, 921600u);
    EXPECT_EQ(queue.Room(), 181818u);
    EXPECT_TRUE(queue.IsEmpty());
}

} // namespace
