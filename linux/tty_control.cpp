#include "linux/tty_control.h"

#include <cerrno>
#include <sys/ioctl.h>

#include "linux/termios_record.h"

namespace linux_tty {

namespace {

void SetModemLine(int fd, int line, bool raised)
{
    ::ioctl(fd, raised ? TIOCMBIS : TIOCMBIC, &line);
}

} // namespace

base::Status ApplyRecord(int fd, const DCB& dcb)
{
    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return base::Status::FromErrno({}, errno);
    if (!RecordToTermios(dcb, tio))
        return base::Status::FromErrno({}, EINVAL);
    if (::ioctl(fd, TCSETS2, &tio) != 0)
        return base::Status::FromErrno({}, errno);
    // Linux has no DTR handshake of its own and RTS/CTS flow control would
    // also hold back our output, so the handshake modes raise the lines.
    SetModemLine(fd, TIOCM_DTR, dcb.fDtrControl != DTR_CONTROL_DISABLE);
    SetModemLine(fd, TIOCM_RTS, dcb.fRtsControl != RTS_CONTROL_DISABLE);
    return base::Status::Ok();
}

base::Status ReadRecord(int fd, DCB& dcb)
{
    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return base::Status::FromErrno({}, errno);
    TermiosToRecord(tio, dcb);
    return base::Status::Ok();
}

base::Status MakeRaw(int fd)
{
    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return base::Status::FromErrno({}, errno);
    MakeRawTermios(tio);
    if (::ioctl(fd, TCSETS2, &tio) != 0)
        return base::Status::FromErrno({}, errno);
    ::ioctl(fd, TCFLSH, TCIFLUSH);
    return base::Status::Ok();
}

void DrainOutput(int fd)
{
    ::ioctl(fd, TCSBRK, 1); // tcdrain
}

void DiscardOutput(int fd)
{
    ::ioctl(fd, TCFLSH, TCOFLUSH);
}

std::size_t PendingOutput(int fd)
{
    int pending = 0;
    if (::ioctl(fd, TIOCOUTQ, &pending) != 0 || pending < 0)
        return 0;
    return static_cast<std::size_t>(pending);
}

} // namespace linux_tty
