#pragma once
// Takes ANSI terminal escape sequences out of received text, for a receive
// box that shows text rather than a terminal's colours: CSI sequences
// (ESC [ 0 ; 32 m, ESC [ K), OSC sequences (ESC ] ... BEL or ESC \), and the
// two-byte ESC forms (ESC 7, ESC c, ...). A sequence cut between two reads
// is recognised across the cut. A stray ESC or a sequence that never ends
// swallows no text: past kLongestSequence bytes the bytes held come out as
// they arrived.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace terminal {

class EscapeFilter {
public:
    static constexpr std::size_t kLongestSequence = 64;

    // The bytes of one read without the sequences in them; the start of a
    // sequence at the end of the read waits for the next.
    void Filter(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out);

private:
    enum class State { Text, Escape, Charset, Csi, Osc, OscEscape };

    void Release(std::vector<std::uint8_t>& out); // the held bytes, as text

    State m_state = State::Text;
    std::vector<std::uint8_t> m_held; // the sequence under way
};

} // namespace terminal
