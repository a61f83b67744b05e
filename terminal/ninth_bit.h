#pragma once
// The ninth bit of received bytes, as a line read at SPACE parity with its
// parity errors marked delivers it: a byte whose parity bit was 1 (an
// address byte on a multi-drop bus) arrives as FF 00 b, a data byte FF as
// FF FF, any other byte as itself. (A framing error, or a break as b = 00,
// is marked the same way and reads as an address byte too.)

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace terminal {

class NinthBitDecoder {
public:
    // Appends the bytes as they went over the line to `bytes`, and the index
    // in `bytes` of each address byte to `addresses`. A mark cut between two
    // reads is read whole: its start waits for the next call.
    void Decode(std::span<const std::uint8_t> marked, std::vector<std::uint8_t>& bytes,
                std::vector<std::size_t>& addresses);

    // Forgets a mark under way (the port was closed or the mode changed).
    void Reset() { m_state = State::Plain; }

private:
    enum class State { Plain, AfterFF, AfterFF00 };
    State m_state = State::Plain;
};

} // namespace terminal
