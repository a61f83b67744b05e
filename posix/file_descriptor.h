#pragma once
// Owns a POSIX file descriptor and closes it when it goes out of scope.

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

#include "base/status.h"

namespace posix {

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }

    // Closes now, reporting the result: a delayed write error shows up here.
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd = -1;
};

// open(2), owned: the descriptor, or the failure on path with its errno.
inline base::Result<FileDescriptor> OpenFile(const std::string& path, int flags, mode_t mode = 0)
{
    FileDescriptor file(::open(path.c_str(), flags, mode));
    if (!file.valid())
        return base::Status::FromErrno(path, errno);
    return file;
}

} // namespace posix
