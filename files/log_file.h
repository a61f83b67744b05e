#pragma once
// A log being written: a file created (or emptied) when it opens, without
// following a link planted at its path, then only ever appended to. Each
// append lands whole, or the file is cut back to what the appends before it
// left, so a reader never finds a piece torn by a full disk.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "posix/file_descriptor.h"

namespace files {

class LogFile {
public:
    // The failure on path in the system's words (EACCES for another user's
    // file or folder, ENOENT for a folder that went, ELOOP for a link).
    static base::Result<LogFile> Create(const std::string& path);

    // Writes `bytes` at the end. On a failure (ENOSPC, EIO, ...) what this
    // call wrote is taken back and the file ends as the last whole append
    // left it.
    base::Status Append(std::string_view bytes);

    // Closes it, reporting a write error the system kept for the close.
    base::Status Close();

    const std::string& path() const { return m_path; }
    std::uint64_t size() const { return m_size; }

private:
    LogFile(posix::FileDescriptor fd, std::string path) : m_fd(std::move(fd)), m_path(std::move(path)) {}

    posix::FileDescriptor m_fd;
    std::string m_path;
    std::uint64_t m_size = 0; // bytes the whole appends wrote
};

} // namespace files
