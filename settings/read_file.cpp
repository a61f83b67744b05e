#include "settings/read_file.h"

#include "posix/file_descriptor.h"
#include "posix/open_file.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {
namespace {

// 0 when the whole file was read, else the errno value of the failure.
int ReadAll(int fd, std::string& text)
{
    char buffer[8192];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            return 0;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        text.append(buffer, static_cast<std::size_t>(count));
        if (text.size() > kMaxSettingsFileBytes)
            return EFBIG;
    }
}

} // namespace

base::Result<std::string> ReadSettingsFile(const std::string& path)
{
    if (path.empty())
        return std::string();
    // O_NONBLOCK: a FIFO at the path must not hang the caller; it is refused below.
    const auto file = posix::OpenForReading(path);
    if (!file)
        return file.status().code() == ENOENT ? base::Result<std::string>(std::string()) : file.status();
    struct stat info {};
    if (::fstat(file->get(), &info) != 0)
        return base::Status::FromErrno(path, errno);
    if (S_ISDIR(info.st_mode))
        return base::Status::FromErrno(path, EISDIR);
    if (!S_ISREG(info.st_mode))
        return base::Status::Failure(path, 0, kNotRegularFileReason);
    std::string text;
    if (const int error = ReadAll(file->get(), text); error != 0)
        return base::Status::FromErrno(path, error);
    return text;
}

} // namespace settings
