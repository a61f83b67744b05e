#include <gtest/gtest.h>

#include <vector>

#include "serial/character_time.h"
#include "serial/output_queue.h"

namespace {

using serial::OutputQueue;

std::shared_ptr<const std::uint8_t[]> Block(std::size_t count, std::uint8_t value = 0x5A)
{
    return std::make_shared<std::uint8_t[]>(count, value);
}

DCB AtRate(std::uint32_t baud)
{
    DCB dcb{};
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    return dcb;
}

// Below the limit a block of any size is taken whole; at the limit writes
// are refused, the rest of a frame is not; the limit follows the record in
// force, two seconds of the line and at least 64 KiB.
TEST(OutputQueueTest, TakesAnySizeBelowTheLimitAndRefusesOnlyAtIt)
{
    struct Case {
        std::uint32_t baud;
        std::size_t limit;
    };
    for (const Case c : {Case{0, 65536}, Case{9600, 65536}, Case{921600, 181818}}) {
        SCOPED_TRACE(c.baud);
        OutputQueue queue;
        queue.SetRecordInForce(AtRate(c.baud));
        EXPECT_EQ(queue.Room(), c.limit);
        EXPECT_TRUE(queue.Add(Block(c.limit - 1), c.limit - 1, false));
        EXPECT_EQ(queue.Room(), 1u);
        EXPECT_TRUE(queue.Add(Block(3 * c.limit), 3 * c.limit, false)); // whole, past the limit
        EXPECT_EQ(queue.Room(), 0u);
        EXPECT_FALSE(queue.Add(Block(1), 1, false));
        EXPECT_FALSE(queue.Add(nullptr, 0, false)); // even an empty write is refused when full
        EXPECT_TRUE(queue.Add(Block(10), 10, true));

        // Sending the first byte below the limit makes room for one more
        // write, whole.
        queue.Sent(c.limit - 1);
        queue.Sent(2 * c.limit + 10);
        EXPECT_EQ(queue.Room(), 0u);
        queue.Sent(1);
        EXPECT_EQ(queue.Room(), 1u);
        EXPECT_TRUE(queue.Add(Block(2 * c.limit), 2 * c.limit, false));
        EXPECT_EQ(queue.Discarded(), 0u);
    }
}

// Bytes and records leave in the order given; a record is offered only once
// the bytes ahead of it have been handed over, and an accepted one sets the
// limit from then on.
TEST(OutputQueueTest, BytesAndRecordsLeaveInOrderAndAnAcceptedRecordSetsTheLimit)
{
    OutputQueue queue;
    queue.SetRecordInForce(AtRate(9600));
    const std::uint8_t frame[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(queue.Add(OutputQueue::CopyOf(frame, 5), 5, false));
    const auto faster = queue.AddRecord(AtRate(921600));
    const auto refused = queue.AddRecord(AtRate(50));
    ASSERT_TRUE(queue.Add(OutputQueue::CopyOf(frame + 4, 1), 1, true));

    OutputQueue::Bytes next = queue.Next(3);
    EXPECT_EQ(std::vector<std::uint8_t>(next.data, next.data + next.size), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(queue.Sent(2));
    EXPECT_EQ(queue.FrontRecord(), nullptr);
    EXPECT_FALSE(queue.CompleteRecord(true)); // bytes are first: nothing to settle
    next = queue.Next(100);
    EXPECT_EQ(std::vector<std::uint8_t>(next.data, next.data + next.size), (std::vector<std::uint8_t>{3, 4, 5}));
    EXPECT_TRUE(queue.Sent(1000)); // more than offered counts as the rest

    ASSERT_NE(queue.FrontRecord(), nullptr);
    EXPECT_EQ(queue.FrontRecord()->BaudRate, 921600u);
    EXPECT_EQ(queue.Next(100).size, 0u);
    EXPECT_TRUE(queue.CompleteRecord(true));
    EXPECT_TRUE(faster->done && faster->accepted);
    EXPECT_EQ(queue.RecordInForce().BaudRate, 921600u);
    EXPECT_EQ(queue.Room(), 181818u - 1);

    EXPECT_TRUE(queue.CompleteRecord(false));
    EXPECT_TRUE(refused->done && !refused->accepted);
    EXPECT_EQ(queue.RecordInForce().BaudRate, 921600u);
    next = queue.Next(100);
    ASSERT_EQ(next.size, 1u);
    EXPECT_EQ(next.data[0], 5);
    EXPECT_TRUE(queue.Sent(1));
    EXPECT_TRUE(queue.IsEmpty());
}

// A loaded file is queued itself, not copied, and let go once sent,
// refused or discarded; discarding counts exactly the bytes never handed
// over, with what the driver threw away added.
TEST(OutputQueueTest, KeepsOneCopyOfASharedBlockAndCountsWhatNeverLeft)
{
    OutputQueue queue;
    std::shared_ptr<const std::uint8_t[]> file = Block(300'000);
    ASSERT_TRUE(queue.Add(file, 300'000, false));
    EXPECT_EQ(queue.Next(10).data, file.get());
    EXPECT_EQ(file.use_count(), 2);
    EXPECT_FALSE(queue.Add(file, 300'000, false));
    EXPECT_EQ(file.use_count(), 2);

    OutputQueue::Bytes handed = queue.Next(4096);
    queue.Sent(handed.size);
    const auto pending = queue.AddRecord(AtRate(19200));
    queue.DiscardAll();
    EXPECT_EQ(queue.Discarded(), 300'000u - 4096);
    EXPECT_TRUE(pending->done);
    EXPECT_FALSE(pending->accepted);
    EXPECT_TRUE(queue.IsEmpty());
    EXPECT_EQ(file.use_count(), 2); // the driver may still read the handed part
    handed = {};
    EXPECT_EQ(file.use_count(), 1);

    queue.CountDiscarded(100);
    queue.DiscardAll();
    EXPECT_EQ(queue.Discarded(), 300'000u - 4096 + 100);
    EXPECT_TRUE(queue.Add(file, 300'000, false));
    EXPECT_TRUE(queue.Sent(300'000));
    EXPECT_EQ(file.use_count(), 1);
}

} // namespace
