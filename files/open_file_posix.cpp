#include "files/open_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace files {

base::Result<posix::FileDescriptor> OpenForReading(const std::string& path)
{
    return posix::OpenFile(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

base::Result<posix::FileDescriptor> OpenForLogging(const std::string& path)
{
    return posix::OpenFile(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
}

base::Status CutTo(int fd, std::uint64_t size, const std::string& path)
{
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0)
        return base::Status::FromErrno(path, errno);
    return base::Status::Ok();
}

} // namespace files
