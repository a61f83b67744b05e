#include "terminal/frame_plan.h"

#include <gtest/gtest.h>

#include <vector>

namespace terminal {
namespace {

struct PlanCase {
    std::size_t frameLength;
    int addrSize;
    bool send;
    std::size_t addressBytes;
};

TEST(PlanFrame, Table)
{
    const std::vector<PlanCase> cases = {
        {12, 0, true, 0},   {1, 0, true, 0},       {0, 0, false, 0}, // unaddressed
        {13, 1, true, 1},   {14, 2, true, 2},      {4, 3, true, 3},  // address, then data
        {3, 3, false, 0},   {2, 2, false, 0},      {1, 1, false, 0}, // no data byte
        {9, 8, true, 8},    {8, 8, false, 0},      {5, -1, false, 0},
        {100, 9, false, 0}, {100, 1000, false, 0}, // outside 0..8
    };
    for (const auto& c : cases) {
        const FramePlan plan = PlanFrame(c.frameLength, c.addrSize);
        EXPECT_EQ(plan.send, c.send) << c.frameLength << " bytes, address " << c.addrSize;
        if (c.send) {
            EXPECT_EQ(plan.addressBytes, c.addressBytes) << c.frameLength << " bytes, address " << c.addrSize;
        }
    }
}

} // namespace
} // namespace terminal
