#include "posix/open_file.h"

#include <windows.h>

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace posix {

int OpenForReading(const char* path)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (length <= 0) {
        errno = ENOENT;
        return -1;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide.data(), length);
    return ::_wopen(wide.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

} // namespace posix
