#include "terminal/tx_text.h"

namespace terminal {

std::vector<std::uint8_t> TxTextBytes(std::string_view boxText)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(boxText.size());
    for (std::size_t i = 0; i < boxText.size(); ++i) {
        const char c = boxText[i];
        if (c == '\r' || c == '\n') {
            bytes.push_back('\r');
            bytes.push_back('\n');
            // "\r\n" is one line break, not two.
            if (c == '\r' && i + 1 < boxText.size() && boxText[i + 1] == '\n')
                ++i;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(c));
        }
    }
    return bytes;
}

} // namespace terminal
