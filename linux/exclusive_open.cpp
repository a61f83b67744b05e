#include "linux/exclusive_open.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace linux_tty {

namespace {

// Unix98 pseudo-terminal slaves use these device majors.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;

} // namespace

base::Result<posix::FileDescriptor> OpenExclusive(const std::string& path)
{
    auto terminal = posix::OpenFile(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (!terminal)
        return terminal;
    const int fd = terminal->get();
    // Each failure is made before the descriptor closes, which may change errno.
    if (!::isatty(fd))
        return base::Status::FromErrno(path, ENOTTY);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return base::Status::FromErrno(path, errno == EWOULDBLOCK ? EBUSY : errno);
    if (::ioctl(fd, TIOCEXCL) != 0)
        return base::Status::FromErrno(path, errno);
    return terminal;
}

void ReleaseExclusive(posix::FileDescriptor terminal)
{
    ::ioctl(terminal.get(), TIOCNXCL);
    ::flock(terminal.get(), LOCK_UN);
}

bool IsPseudoTerminal(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    const unsigned major = ::major(info.st_rdev);
    return major >= kFirstPtySlaveMajor && major <= kLastPtySlaveMajor;
}

} // namespace linux_tty
