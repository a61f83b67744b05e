#include "files/open_file.h"

#include <windows.h>

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace files {

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
