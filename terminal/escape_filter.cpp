#include "terminal/escape_filter.h"

namespace terminal {

namespace {

constexpr std::uint8_t kEsc = 0x1B;
constexpr std::uint8_t kBel = 0x07;

} // namespace

void EscapeFilter::Release(std::vector<std::uint8_t>& out)
{
    out.insert(out.end(), m_held.begin(), m_held.end());
    m_held.clear();
    m_state = State::Text;
}

void EscapeFilter::Filter(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out)
{
    for (const std::uint8_t byte : bytes) {
        if (m_state == State::Text) {
            if (byte == kEsc) {
                m_held.push_back(byte);
                m_state = State::Escape;
            } else {
                out.push_back(byte);
            }
            continue;
        }
        m_held.push_back(byte);
        bool ended = false;
        switch (m_state) {
        case State::Escape:
            if (byte == '[')
                m_state = State::Csi;
            else if (byte == ']')
                m_state = State::Osc;
            else if (byte == '(' || byte == ')')
                m_state = State::Charset; // ESC ( B: a character set, one byte more
            else
                ended = byte >= 0x20 && byte <= 0x7E; // ESC 7, ESC c ...: two bytes
            break;
        case State::Charset:
            ended = true;
            break;
        case State::Csi:
            ended = byte >= 0x40 && byte <= 0x7E; // the final byte
            break;
        case State::Osc:
            if (byte == kBel)
                ended = true;
            else if (byte == kEsc)
                m_state = State::OscEscape;
            break;
        case State::OscEscape:
            ended = byte == '\\';
            if (!ended)
                m_state = State::Osc;
            break;
        case State::Text:
            break;
        }
        if (ended) {
            m_held.clear();
            m_state = State::Text;
        } else if (m_held.size() >= kLongestSequence || (m_state == State::Escape && byte < 0x20 && byte != kEsc)) {
            Release(out);
        }
    }
}

} // namespace terminal
