#include "settings/read_file.h"

#include "settings/file_descriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {
namespace {

bool ReadAll(int fd, std::string& text)
{
    char buffer[8192];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            return true;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(count));
        if (text.size() > kMaxSettingsFileBytes)
            return false;
    }
}

} // namespace

FileContent ReadSettingsFile(const std::string& path)
{
    if (path.empty())
        return {FileState::Missing, {}};
    // O_NONBLOCK: a FIFO at the path must not hang the caller; it is refused below.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        return {(errno == ENOENT) ? FileState::Missing : FileState::Unreadable, {}};
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {FileState::Unreadable, {}};
    FileContent content{FileState::Read, {}};
    if (!ReadAll(file.get(), content.text))
        return {FileState::Unreadable, {}};
    return content;
}

} // namespace settings
