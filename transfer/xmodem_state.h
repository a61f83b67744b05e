#pragma once

#include <cstdint>

// The file sender's state.
enum XmodemState : std::int32_t {
    XS_IDLE = 0,
    XS_WAIT_START = 1,
    XS_SENDING = 2,
    XS_WAIT_EOT_ACK = 3,
};

// The protocol list's rows.
inline constexpr std::int32_t PROTO_NONE = 0;
inline constexpr std::int32_t PROTO_XMODEM = 1;
inline constexpr std::int32_t PROTO_XMODEM_1K = 2;
