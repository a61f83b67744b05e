#include "files/open_file.h"

#include <windows.h>

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <string>

namespace files {

namespace {

std::wstring WidePath(const std::string& path)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, wide.data(), length);
    return wide;
}

} // namespace

// Links are rare on Windows and made on purpose: the path is opened as it is.
base::Result<posix::FileDescriptor> OpenForLogging(const std::string& path)
{
    const std::wstring wide = WidePath(path);
    if (wide.empty())
        return base::Status::FromErrno(path, ENOENT);
    posix::FileDescriptor file(
        ::_wopen(wide.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE));
    if (!file.valid())
        return base::Status::FromErrno(path, errno);
    return file;
}

base::Status CutTo(int fd, std::uint64_t size, const std::string& path)
{
    const errno_t error = ::_chsize_s(fd, static_cast<__int64>(size));
    return error == 0 ? base::Status::Ok() : base::Status::FromErrno(path, error);
}

base::Result<posix::FileDescriptor> OpenForReading(const std::string& path)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return base::Status::FromErrno(path, ENOENT);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, wide.data(), length);
    posix::FileDescriptor file(::_wopen(wide.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT));
    if (file.valid())
        return file;
    int error = errno;
    // Windows refuses to open a folder as a file; say so as POSIX does.
    if (error == EACCES) {
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            error = EISDIR;
    }
    return base::Status::FromErrno(path, error);
}

} // namespace files
