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

// The pieces of MakeRxDisplay, for callers that keep a chunk's bytes and
// make its text later (or never, when it would not stay in the box):
// - RxShownBytes: how many of the chunk's first bytes show: in text all
//   before the first zero byte, in hexadecimal all n;
// - RxPositions: the character positions the chunk takes, n or 3n;
// - AppendRxText: appends the text of bytes that all show (no zero cut).
std::size_t RxShownBytes(const std::uint8_t* data, std::size_t n, bool ascii);
std::uint32_t RxPositions(std::size_t n, bool ascii);
void AppendRxText(std::string& out, const std::uint8_t* data, std::size_t n, bool ascii);

} // namespace terminal
