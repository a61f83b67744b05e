#pragma once
// The text one received chunk adds to the receive box.

#include <cstddef>
#include <cstdint>
#include <string>

#include "terminal/byte_char.h"

namespace terminal {

struct RxDisplay {
    std::string text;     // UTF-8, ready for the box
    std::uint32_t length; // character positions the box's write position advances
};

// ascii false: "%02X " for each byte ("48 0A " for 0x48 0x0A), length 3n.
// ascii true: the bytes up to the first zero byte, each one character (see
// ByteToChar); length n, the whole chunk, also when a zero byte ends the
// text early, so the bytes behind it are counted but not shown.
// A null `data` is an empty chunk.
RxDisplay MakeRxDisplay(const std::uint8_t* data, std::size_t n, bool ascii);

} // namespace terminal
