#pragma once
// Turns the transmit box's text into the bytes of one frame when the box
// holds hexadecimal numbers: "01 48 65", "0x41,0x42", "4865" and the like.

#include <cstdint>
#include <string_view>
#include <vector>

namespace terminal {

// The frame's bytes: the low 8 bits of every number read, left to right.
// After each reading exactly one character is passed over, whatever it is:
// after a success the one behind the digits, after a failure the one at the
// reading's start. Any single character therefore separates numbers, and
// "41,,42" still gives 0x41 0x42.
//
// The text is taken byte by byte. A character of several UTF-8 bytes gives
// the same result as if it were passed over whole, because none of its bytes
// can start a number; and a line break of "\n" alone gives the same bytes as
// "\r\n". An empty result means there is nothing to send. Runs in time linear
// in the text's length, however the text is made.
std::vector<std::uint8_t> ParseHexBytes(std::string_view text);

} // namespace terminal
