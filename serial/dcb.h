#pragma once

#include <cstdint>

// The line-settings record the port object carries and the window code edits
// member by member. It keeps the member names and codes of the device-control
// block the program was designed around, so the rest of the program reads
// the same on every platform.

inline constexpr std::uint8_t NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4;
inline constexpr std::uint8_t ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2;
inline constexpr std::uint32_t DTR_CONTROL_DISABLE = 0, DTR_CONTROL_ENABLE = 1, DTR_CONTROL_HANDSHAKE = 2;
inline constexpr std::uint32_t RTS_CONTROL_DISABLE = 0, RTS_CONTROL_ENABLE = 1, RTS_CONTROL_HANDSHAKE = 2;

struct DCB {
    std::uint32_t DCBlength = 28;
    std::uint32_t BaudRate = 0;
    bool fBinary = true;
    bool fParity = false;
    bool fOutxCtsFlow = false, fOutxDsrFlow = false;
    std::uint32_t fDtrControl = DTR_CONTROL_DISABLE;
    bool fDsrSensitivity = false, fTXContinueOnXoff = false, fOutX = false, fInX = false, fErrorChar = false,
         fNull = false;
    std::uint32_t fRtsControl = RTS_CONTROL_DISABLE;
    bool fAbortOnError = false;
    std::uint16_t XonLim = 0, XoffLim = 0;
    std::uint8_t ByteSize = 8, Parity = NOPARITY, StopBits = ONESTOPBIT;
    char XonChar = 0, XoffChar = 0, ErrorChar = 0, EofChar = 0, EvtChar = 0;
    // Ours, beside the block's own members: receive with the ninth bit
    // shown. The line is read at SPACE parity (whatever Parity says) with
    // parity errors marked: a byte whose parity bit is 1 arrives as FF 00 b
    // and a byte FF as FF FF (terminal::NinthBitDecoder reads them). Under
    // MARK parity (address bytes going out) received bytes are not marked,
    // since a mark would then mean the opposite; FF is still doubled. Never
    // read back from a device, so a record saved at opening restores the
    // parity the device had.
    bool fMarkNinthBit = false;

    friend bool operator==(const DCB&, const DCB&) = default;
};
