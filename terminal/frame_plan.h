#pragma once
// How one transmit frame goes out: whole with the port's settings, or split
// into address bytes (MARK parity) and data bytes (SPACE parity).

#include <cstddef>

namespace terminal {

// The address sizes the Address Size list offers.
constexpr int kMinAddressSize = 0;
constexpr int kMaxAddressSize = 8;

struct FramePlan {
    bool send;                // false: nothing goes out, parity untouched
    std::size_t addressBytes; // 0: one write with the port's settings;
                              // else the first addressBytes with MARK, the rest with SPACE
};

// addrSize 0: the whole frame in one write, when it has any byte.
// addrSize 1..8: sent only when the frame is longer than its address, so at
// least one data byte follows it.
// Any other addrSize (a damaged settings file, or -1 when the list has no
// selection): nothing is sent. Splitting by it could read past the frame,
// and treating it as 0 would send a frame with an address size the user
// cannot see in the list.
FramePlan PlanFrame(std::size_t frameLength, int addrSize);

} // namespace terminal
