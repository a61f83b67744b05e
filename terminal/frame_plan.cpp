#include "terminal/frame_plan.h"

namespace terminal {

FramePlan PlanFrame(std::size_t frameLength, int addrSize)
{
    constexpr FramePlan kNothing{false, 0};
    if (addrSize < kMinAddressSize || addrSize > kMaxAddressSize)
        return kNothing;
    if (addrSize == 0)
        return {frameLength > 0, 0};
    const auto addressBytes = static_cast<std::size_t>(addrSize);
    if (frameLength <= addressBytes)
        return kNothing;
    return {true, addressBytes};
}

} // namespace terminal
