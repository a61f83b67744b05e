#include "transfer/load_file.h"

#include "posix/file_descriptor.h"
#include "posix/open_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace transfer {
namespace {

// Reads until `size` bytes are in or the file ends; one read call may
// return less than asked. -1 on a read error.
std::int64_t ReadWhole(int fd, std::uint8_t* block, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        // At most 1 GiB per call: Windows' read takes an unsigned int count.
        const auto chunk = static_cast<unsigned>(std::min<std::size_t>(size - done, std::size_t{1} << 30));
        const ssize_t n = ::read(fd, block + done, chunk);
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

base::Result<LoadedFile> ReadWholeFile(const std::string& path)
{
    // Opening without waiting keeps a named pipe from blocking the window;
    // anything but a regular file is refused below.
    const auto file = posix::OpenForReading(path);
    if (!file)
        return file.status();
    struct stat info {};
    if (::fstat(file->get(), &info) != 0)
        return base::Status::FromErrno(path, errno);
    if (!S_ISREG(info.st_mode))
        return base::Status::Failure(path, 0, "Not a regular file");
    // The count is a signed 32-bit number: 2 GiB and more cannot be told.
    if (info.st_size < 0 || info.st_size > INT32_MAX)
        return base::Status::FromErrno(path, EFBIG);
    const auto size = static_cast<std::size_t>(info.st_size);

    // At least one byte, so an empty file still hands over a real block.
    LoadedFile loaded;
    loaded.block.reset(static_cast<std::uint8_t*>(std::malloc(size > 0 ? size : 1)));
    if (!loaded.block)
        return base::Status::FromErrno(path, ENOMEM);
    const std::int64_t n = ReadWhole(file->get(), loaded.block.get(), size);
    if (n < 0)
        return base::Status::FromErrno(path, errno);
    loaded.size = static_cast<std::int32_t>(n);
    return loaded;
}

} // namespace transfer

std::int32_t LoadFile(std::uint8_t** out, const char* path)
{
    if (out == nullptr || path == nullptr)
        return 0;
    auto loaded = transfer::ReadWholeFile(path);
    if (!loaded)
        return 0;
    *out = loaded->block.release();
    return loaded->size;
}
