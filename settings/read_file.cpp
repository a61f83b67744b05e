#include "settings/read_file.h"

#include "posix/file_descriptor.h"
#include "posix/open_file.h"

#include <cerrno>
#include <cstring>
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

FileContent Unreadable(std::string reason)
{
    return {FileState::Unreadable, {}, std::move(reason)};
}

} // namespace

FileContent ReadSettingsFile(const std::string& path)
{
    if (path.empty())
        return {};
    // O_NONBLOCK: a FIFO at the path must not hang the caller; it is refused below.
    posix::FileDescriptor file(posix::OpenForReading(path.c_str()));
    if (file.get() < 0)
        return errno == ENOENT ? FileContent{} : Unreadable(std::strerror(errno));
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return Unreadable(std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        return Unreadable(std::strerror(EISDIR));
    if (!S_ISREG(info.st_mode))
        return Unreadable(kNotRegularFileReason);
    FileContent content{FileState::Read, {}, {}};
    if (const int error = ReadAll(file.get(), content.text); error != 0)
        return Unreadable(std::strerror(error));
    return content;
}

} // namespace settings
