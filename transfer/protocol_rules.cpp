#include "transfer/protocol_rules.h"

#include "transfer/xmodem_state.h"

#include <array>

namespace transfer {

namespace {

// In the protocol list's order.
constexpr std::array<ProtocolRules, 4> kRules = {{
    {},                                        // PROTO_NONE: the whole file at once
    {128, kFillByte},                          // PROTO_XMODEM
    {1024, kFillByte},                         // PROTO_XMODEM_1K
    {1024, kYmodemFillByte, true, true, true}, // PROTO_YMODEM: one file per batch
}};

} // namespace

const ProtocolRules& RulesFor(std::int32_t protocol)
{
    return protocol >= 0 && static_cast<std::size_t>(protocol) < kRules.size()
               ? kRules[static_cast<std::size_t>(protocol)]
               : kRules[PROTO_NONE];
}

std::uint32_t BlockSize(std::int32_t protocol)
{
    return RulesFor(protocol).blockSize;
}

} // namespace transfer
