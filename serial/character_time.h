#pragma once

#include <chrono>

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

} // namespace serial
