#include "terminal/ninth_bit.h"

namespace terminal {

void NinthBitDecoder::Decode(std::span<const std::uint8_t> marked, std::vector<std::uint8_t>& bytes,
                             std::vector<std::size_t>& addresses)
{
    for (const std::uint8_t byte : marked) {
        switch (m_state) {
        case State::Plain:
            if (byte == 0xFF)
                m_state = State::AfterFF;
            else
                bytes.push_back(byte);
            break;
        case State::AfterFF:
            if (byte == 0x00) {
                m_state = State::AfterFF00;
                break;
            }
            // FF FF is a data byte FF. The driver sends nothing else after
            // an FF; should it, both are kept as data.
            m_state = State::Plain;
            bytes.push_back(0xFF);
            if (byte != 0xFF)
                bytes.push_back(byte);
            break;
        case State::AfterFF00:
            m_state = State::Plain;
            addresses.push_back(bytes.size());
            bytes.push_back(byte);
            break;
        }
    }
}

} // namespace terminal
