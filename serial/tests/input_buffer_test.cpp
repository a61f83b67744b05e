#include <gtest/gtest.h>

#include <string>

#include "serial/input_buffer.h"

namespace {

std::function<void()> Add(serial::InputBuffer& buffer, const std::string& bytes)
{
    return buffer.Add(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string Read(serial::InputBuffer& buffer, std::size_t count, bool fromFull)
{
    std::string out(count, '\0');
    const auto taken = buffer.Read(reinterpret_cast<std::uint8_t*>(out.data()), count);
    EXPECT_EQ(taken.fromFull, fromFull);
    return out.substr(0, taken.count);
}

// Bytes come out in order, past the capacity too; the arrival function is
// due at the threshold, once between two reads, and again when a new
// function or a lower threshold already reached is set.
TEST(InputBufferTest, KeepsTheBytesInOrderAndTellsOnceBetweenReadsAtTheThreshold)
{
    serial::InputBuffer buffer(4);
    int calls = 0;
    const auto due = [&](const std::function<void()>& tell) {
        if (tell)
            tell();
        return calls;
    };
    EXPECT_FALSE(Add(buffer, "a")); // nobody asked
    buffer.NotifyArrival([&] { ++calls; });
    EXPECT_EQ(due(Add(buffer, "")), 0);
    EXPECT_EQ(due(Add(buffer, "bc")), 1);
    EXPECT_EQ(due(Add(buffer, "de")), 1);
    EXPECT_FALSE(buffer.HasRoom());
    EXPECT_EQ(Read(buffer, 2, true), "ab");
    EXPECT_TRUE(buffer.HasRoom());

    EXPECT_EQ(due(buffer.SetArrivalThreshold(5)), 1);
    EXPECT_EQ(due(Add(buffer, "f")), 1);
    EXPECT_EQ(due(Add(buffer, "g")), 2);
    EXPECT_EQ(Read(buffer, 8, true), "cdefg");
    Add(buffer, "h");
    EXPECT_EQ(due(buffer.SetArrivalThreshold(0)), 3); // counts as 1
    buffer.NotifyArrival([&] { calls += 10; });
    EXPECT_EQ(due(Add(buffer, "i")), 13);
    buffer.NotifyArrival(nullptr);
    EXPECT_EQ(Read(buffer, 8, false), "hi");
    EXPECT_FALSE(Add(buffer, "j"));
}

} // namespace
