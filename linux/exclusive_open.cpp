#include "linux/exclusive_open.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace linux_tty {

namespace {

// Unix98 pseudo-terminal slaves use these device majors.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;

int Fail(int fd, int& error, int code)
{
    ::close(fd);
    error = code;
    return -1;
}

} // namespace

int OpenExclusive(const std::string& path, int& error)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (!::isatty(fd))
        return Fail(fd, error, ENOTTY);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return Fail(fd, error, errno == EWOULDBLOCK ? EBUSY : errno);
    if (::ioctl(fd, TIOCEXCL) != 0)
        return Fail(fd, error, errno);
    error = 0;
    return fd;
}

void ReleaseExclusive(int fd)
{
    ::ioctl(fd, TIOCNXCL);
    ::flock(fd, LOCK_UN);
    ::close(fd);
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
