#include "files/read_regular_file.h"

#include "files/open_file.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

// Reads until `size` bytes are in or the file ends; one read call may
// return less than asked. The count read, or -1 on a read error.
std::int64_t ReadUpTo(int fd, std::uint8_t* block, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        // At most 1 GiB per call: Windows' read takes an unsigned int count.
        const auto chunk = static_cast<unsigned>(std::min<std::size_t>(size - done, std::size_t{1} << 30));
        const auto n = ::read(fd, block + done, chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}

} // namespace

base::Result<FileBytes> ReadRegularFile(const std::string& path, std::size_t limit)
{
    const auto file = OpenForReading(path);
    if (!file)
        return file.status();
    struct stat info {};
    if (::fstat(file->get(), &info) != 0)
        return base::Status::FromErrno(path, errno);
    if (S_ISDIR(info.st_mode))
        return base::Status::FromErrno(path, EISDIR);
    if (!S_ISREG(info.st_mode))
        return base::Status::Failure(path, 0, kNotRegularFile);
    if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > limit)
        return base::Status::FromErrno(path, EFBIG);
    const auto size = static_cast<std::size_t>(info.st_size);

    FileBytes bytes;
    bytes.block.reset(static_cast<std::uint8_t*>(std::malloc(size > 0 ? size : 1)));
    if (!bytes.block)
        return base::Status::FromErrno(path, ENOMEM);
    const std::int64_t n = ReadUpTo(file->get(), bytes.block.get(), size);
    if (n < 0)
        return base::Status::FromErrno(path, errno);
    bytes.size = static_cast<std::size_t>(n);
    bytes.modified = static_cast<std::int64_t>(info.st_mtime);
    return bytes;
}

} // namespace files
