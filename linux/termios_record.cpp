#include "linux/termios_record.h"

#include <array>
#include <cstdint>

namespace linux_tty {

namespace {

struct NamedRate {
    std::uint32_t rate;
    tcflag_t code;
};

// The rates with a code of their own; any other rate goes out as a free rate.
constexpr std::array<NamedRate, 29> kNamedRates{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {4000000, B4000000},
}};

constexpr std::array<tcflag_t, 4> kSizeCodes{CS5, CS6, CS7, CS8}; // for 5 to 8 data bits

constexpr std::array<tcflag_t, 5> kParityCodes{
    0,                        // NOPARITY
    PARENB | PARODD,          // ODDPARITY
    PARENB,                   // EVENPARITY
    PARENB | CMSPAR | PARODD, // MARKPARITY: the parity bit is always 1
    PARENB | CMSPAR,          // SPACEPARITY: the parity bit is always 0
};

constexpr tcflag_t kRawInputCleared =
    IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IXON | IXANY | IXOFF | IMAXBEL;
constexpr tcflag_t kRawLocalCleared =
    ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHONL | ECHOCTL | ECHOPRT | ECHOKE | IEXTEN;
constexpr tcflag_t kLineBitsCleared = CBAUD | (CBAUD << IBSHIFT) | CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS;

tcflag_t RateCode(std::uint32_t rate)
{
    for (const auto& named : kNamedRates)
        if (named.rate == rate)
            return named.code;
    return BOTHER;
}

std::uint32_t RateOf(const termios2& tio)
{
    const tcflag_t code = tio.c_cflag & CBAUD;
    for (const auto& named : kNamedRates)
        if (named.code == code)
            return named.rate;
    return tio.c_ospeed;
}

} // namespace

bool RecordIsCarriable(const DCB& dcb)
{
    return dcb.BaudRate > 0 && dcb.ByteSize >= 5 && dcb.ByteSize <= 8 && dcb.Parity <= SPACEPARITY &&
           dcb.StopBits <= TWOSTOPBITS;
}

bool RecordToTermios(const DCB& dcb, termios2& tio)
{
    if (!RecordIsCarriable(dcb))
        return false;

    MakeRawTermios(tio);
    if (dcb.fParity)
        tio.c_iflag |= INPCK;
    if (dcb.fOutX)
        tio.c_iflag |= IXON;
    if (dcb.fInX)
        tio.c_iflag |= IXOFF;

    tio.c_cflag &= ~kLineBitsCleared;
    tio.c_cflag |= CREAD | CLOCAL | HUPCL;
    tio.c_cflag |= RateCode(dcb.BaudRate); // the input rate follows the output rate
    tio.c_cflag |= kSizeCodes[dcb.ByteSize - 5u];
    tio.c_cflag |= kParityCodes[dcb.fMarkNinthBit && dcb.Parity != MARKPARITY ? SPACEPARITY : dcb.Parity];
    if (dcb.fMarkNinthBit) {
        // PARMRK marks an error as FF 00 b and doubles a real FF; INPCK
        // makes the wrong parity bit an error (and IGNPAR, cleared, would
        // drop it).
        tio.c_iflag |= PARMRK;
        if (dcb.Parity != MARKPARITY)
            tio.c_iflag |= INPCK;
        else
            tio.c_iflag &= ~static_cast<tcflag_t>(INPCK);
    }
    if (dcb.StopBits != ONESTOPBIT)
        tio.c_cflag |= CSTOPB;
    if (dcb.fOutxCtsFlow)
        tio.c_cflag |= CRTSCTS;
    tio.c_ispeed = dcb.BaudRate;
    tio.c_ospeed = dcb.BaudRate;

    if (dcb.XonChar != 0)
        tio.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    if (dcb.XoffChar != 0)
        tio.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    return true;
}

void MakeRawTermios(termios2& tio)
{
    tio.c_iflag &= ~kRawInputCleared;
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~kRawLocalCleared;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
}

void TermiosToRecord(const termios2& tio, DCB& dcb)
{
    dcb.BaudRate = RateOf(tio);

    const tcflag_t size = tio.c_cflag & CSIZE;
    for (std::size_t i = 0; i < kSizeCodes.size(); ++i)
        if (kSizeCodes[i] == size)
            dcb.ByteSize = static_cast<std::uint8_t>(5 + i);

    const tcflag_t parity = tio.c_cflag & (PARENB | PARODD | CMSPAR);
    dcb.Parity = NOPARITY;
    if (tio.c_cflag & PARENB)
        for (std::uint8_t code = ODDPARITY; code <= SPACEPARITY; ++code)
            if (kParityCodes[code] == parity)
                dcb.Parity = code;

    if (!(tio.c_cflag & CSTOPB))
        dcb.StopBits = ONESTOPBIT;
    else if (dcb.StopBits == ONESTOPBIT)
        dcb.StopBits = TWOSTOPBITS;

    dcb.fParity = (tio.c_iflag & INPCK) != 0;
    dcb.fOutxCtsFlow = (tio.c_cflag & CRTSCTS) != 0;
    dcb.fOutX = (tio.c_iflag & IXON) != 0;
    dcb.fInX = (tio.c_iflag & IXOFF) != 0;
}

} // namespace linux_tty
