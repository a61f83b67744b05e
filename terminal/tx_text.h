#pragma once
// The bytes sent when the transmit box is in text mode.

#include <cstdint>
#include <string_view>
#include <vector>

namespace terminal {

// `boxText` is the transmit box's UTF-8 text. Every line break goes out as
// CR LF (0x0D 0x0A), whether the widget gave "\r\n", a lone "\n" or a lone
// "\r". Every other character goes out unchanged, so a character outside
// ASCII is sent as its UTF-8 bytes, the encoding a Linux device's console
// reads ("é" is C3 A9). No terminating zero is added.
std::vector<std::uint8_t> TxTextBytes(std::string_view boxText);

} // namespace terminal
