#pragma once
// The character that stands for one received byte in the receive box.

#include <cstdint>

namespace terminal {

// Every byte value has exactly one character, so one received byte is always
// one character position of the box, whatever the byte:
// - 0x20-0x7E: the ASCII character itself;
// - TAB, LF, CR: themselves, so a device's CR LF shows as a line break and
//   still takes two positions;
// - the other control bytes 0x00-0x1F and DEL 0x7F: the visible Unicode
//   control pictures U+2400-U+241F and U+2421, so a stray control byte can
//   be seen instead of silently vanishing or upsetting the layout;
// - 0x80-0xFF: Windows-1252, the code page a Western desktop used to show a
//   device's bytes with, so accented letters, the euro sign and typographic
//   quotes sent by such devices read as intended. Its five unassigned bytes
//   0x81 0x8D 0x8F 0x90 0x9D become U+0081 U+008D U+008F U+0090 U+009D, as
//   that code page's own converter maps them, which keeps them one position.
char32_t ByteToChar(std::uint8_t byte);

} // namespace terminal
