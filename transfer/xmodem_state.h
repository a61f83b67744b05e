#pragma once

#include <cstdint>

// The file sender's state.
enum XmodemState : std::int32_t {
    XS_IDLE = 0,
    XS_WAIT_START = 1,
    XS_SENDING = 2,
    XS_WAIT_EOT_ACK = 3,
    // YMODEM's batch around the data: block 0 sent, waiting for its ACK;
    // then for the receiver's C that asks for the data; after EOT's ACK,
    // for the C that asks for the empty block 0; and for that block's ACK.
    XS_WAIT_HEADER_ACK = 4,
    XS_WAIT_DATA_START = 5,
    XS_WAIT_END_START = 6,
    XS_WAIT_END_ACK = 7,
};

// The protocol list's rows.
inline constexpr std::int32_t PROTO_NONE = 0;
inline constexpr std::int32_t PROTO_XMODEM = 1;
inline constexpr std::int32_t PROTO_XMODEM_1K = 2;
inline constexpr std::int32_t PROTO_YMODEM = 3;
