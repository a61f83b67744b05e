#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial/input_buffer.h"

namespace {

using serial::InputBuffer;

std::function<void()> Add(InputBuffer& buffer, const std::string& bytes)
{
    return buffer.Add(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string Read(InputBuffer& buffer, std::size_t count)
{
    std::vector<std::uint8_t> out(count);
    const InputBuffer::Taken taken = buffer.Read(out.data(), count);
    return std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(taken.count));
}

TEST(InputBufferTest, ReadsInOrderAndTellsAReadFromAFullBuffer)
{
    InputBuffer buffer(4);
    EXPECT_EQ(Read(buffer, 8), "");
    Add(buffer, "abc");
    EXPECT_TRUE(buffer.HasRoom());
    Add(buffer, "defg"); // kept past the capacity
    EXPECT_FALSE(buffer.HasRoom());
    std::uint8_t two[2];
    const InputBuffer::Taken first = buffer.Read(two, 2);
    EXPECT_EQ(first.count, 2u);
    EXPECT_TRUE(first.fromFull);
    EXPECT_EQ(std::string(two, two + 2), "ab");
    EXPECT_FALSE(buffer.HasRoom());
    EXPECT_EQ(Read(buffer, 2), "cd");
    EXPECT_TRUE(buffer.HasRoom());
    EXPECT_FALSE(buffer.Read(two, 1).fromFull);
    EXPECT_EQ(Read(buffer, 8), "fg");
}

// The arrival function is due when the threshold is reached, once between
// two reads; setting a function or a lower threshold can make it due again.
TEST(InputBufferTest, ArrivalIsDueOnceBetweenReadsAndOnlyAtTheThreshold)
{
    InputBuffer buffer(1024);
    int calls = 0;
    const auto due = [&](std::function<void()> tell) {
        if (tell)
            tell();
        return calls;
    };
    EXPECT_FALSE(Add(buffer, "a")); // nobody asked
    buffer.NotifyArrival([&] { ++calls; });
    EXPECT_EQ(due(Add(buffer, "")), 0);
    EXPECT_EQ(due(Add(buffer, "b")), 1);
    EXPECT_EQ(due(Add(buffer, "c")), 1); // not read since
    Read(buffer, 8);
    EXPECT_EQ(due(Add(buffer, "d")), 2);

    Read(buffer, 8);
    EXPECT_EQ(due(buffer.SetArrivalThreshold(4)), 2);
    EXPECT_EQ(due(Add(buffer, "efg")), 2);
    EXPECT_EQ(due(Add(buffer, "h")), 3);
    Read(buffer, 2);
    EXPECT_EQ(due(buffer.SetArrivalThreshold(3)), 3);
    EXPECT_EQ(due(buffer.SetArrivalThreshold(0)), 4); // counts as 1, already reached

    buffer.NotifyArrival([&] { calls += 10; }); // rearms
    EXPECT_EQ(due(Add(buffer, "i")), 14);
    buffer.NotifyArrival(nullptr);
    Read(buffer, 8);
    EXPECT_FALSE(Add(buffer, "j"));
}

} // namespace
