#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>

#include "serial/dcb.h"

namespace serial {

// The time one character takes on the line under the record: a start bit,
// the data bits, the parity bit if any and the stop bits (1.5 counted as 2,
// so the estimate errs long). Rounded up to whole microseconds.
constexpr std::chrono::microseconds CharacterTime(const DCB& dcb)
{
    if (dcb.BaudRate == 0)
        return std::chrono::microseconds{0};
    const unsigned long long bits =
        1ull + dcb.ByteSize + (dcb.Parity != NOPARITY ? 1ull : 0ull) + (dcb.StopBits == ONESTOPBIT ? 1ull : 2ull);
    return std::chrono::microseconds{(bits * 1000000ull + dcb.BaudRate - 1) / dcb.BaudRate};
}

// How much a device's output queue takes before it refuses writes: what
// the line sends in two seconds under the record, and at least 64 KiB.
constexpr std::size_t OutputQueueLimit(const DCB& dcb)
{
    constexpr std::size_t kFloor = 64 * 1024;
    constexpr std::chrono::microseconds kQueueTime = std::chrono::seconds{2};
    const auto perCharacter = static_cast<std::size_t>(CharacterTime(dcb).count());
    if (perCharacter == 0)
        return kFloor;
    return std::max(kFloor, static_cast<std::size_t>(kQueueTime.count()) / perCharacter);
}

} // namespace serial
