#include "files/log_file.h"

#include "files/open_file.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace files {

base::Result<LogFile> LogFile::Create(const std::string& path)
{
    auto fd = OpenForLogging(path);
    if (!fd)
        return fd.status();
    return LogFile(std::move(*fd), path);
}

base::Status LogFile::Append(std::string_view bytes)
{
    if (!m_fd.valid())
        return base::Status::FromErrno(m_path, EBADF);
    std::string_view rest = bytes;
    while (!rest.empty()) {
        // At most 1 GiB a call: Windows' write takes an unsigned int count.
        const auto chunk = static_cast<unsigned>(std::min<std::size_t>(rest.size(), std::size_t{1} << 30));
        const auto written = ::write(m_fd.get(), rest.data(), chunk);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const base::Status failure = base::Status::FromErrno(m_path, written < 0 ? errno : ENOSPC);
            CutTo(m_fd.get(), m_size, m_path);
            return failure;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    m_size += bytes.size();
    return base::Status::Ok();
}

base::Status LogFile::Close()
{
    if (!m_fd.valid())
        return base::Status::Ok();
    return m_fd.Close() ? base::Status::Ok() : base::Status::FromErrno(m_path, errno);
}

} // namespace files
