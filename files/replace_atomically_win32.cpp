#include "files/replace_atomically.h"

#include "win32/handle.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <utility>
#include <cerrno>

namespace files {
namespace {

std::wstring Wide(const std::string& text)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// The errno value the header promises for a Win32 error code.
int ErrnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

int LastErrno()
{
    return ErrnoOf(::GetLastError());
}

std::string ParentFolder(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return ".";
    // "C:\" and "\" stay themselves.
    if (slash == 0 || (slash == 2 && path[1] == ':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

// 0 when the folder exists or was made, else the errno value of the failure.
int EnsureFolder(const std::string& folder)
{
    const DWORD attributes = ::GetFileAttributesW(Wide(folder).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0 : ENOTDIR;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        return ErrnoOf(error);
    const std::string parent = ParentFolder(folder);
    if (parent != folder) {
        if (const int failure = EnsureFolder(parent); failure != 0)
            return failure;
    }
    return ::CreateDirectoryW(Wide(folder).c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS ? 0
                                                                                                         : LastErrno();
}

// 0 when all of text was written and flushed to the disk, else the errno value.
int WriteAndFlush(HANDLE file, std::string_view text)
{
    while (!text.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, text.data(), chunk, &written, nullptr))
            return LastErrno();
        text.remove_prefix(written);
    }
    return ::FlushFileBuffers(file) ? 0 : LastErrno();
}

// 0 when the file at path may be replaced, else the errno value that says why not.
int ReplaceableError(const std::string& path)
{
    const std::wstring wide = Wide(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const int error = LastErrno();
        return error == ENOENT ? 0 : error;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return EISDIR;
    // Marked read-only on purpose.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return EACCES;
    const win32::Handle file(::CreateFileW(wide.c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() ? 0 : LastErrno();
}

// 0 once `text` has replaced the file's content, else the errno value of
// the first step that failed. Windows keeps no permission bits to carry
// over, and the rename replaces a link standing at the path (links are
// rare there, and made on purpose), so only the folder rule applies.
int Replace(const std::string& path, std::string_view text, const ReplaceRules& rules)
{
    if (path.empty())
        return ENOENT;
    if (rules.makeFolders) {
        if (const int error = EnsureFolder(ParentFolder(path)); error != 0)
            return error;
    }
    if (const int error = ReplaceableError(path); error != 0)
        return error;

    static std::atomic<unsigned> counter{0};
    const std::string prefix = path + ".tmp" + std::to_string(::GetCurrentProcessId()) + "_";
    std::wstring temporary;
    win32::Handle file;
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        temporary = Wide(prefix + std::to_string(counter.fetch_add(1)));
        file = win32::Handle(
            ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() && ::GetLastError() != ERROR_FILE_EXISTS)
            return LastErrno();
    }
    if (!file.valid())
        return EEXIST;
    int error = WriteAndFlush(file.get(), text);
    if (!file.Close() && error == 0)
        error = LastErrno();
    // One step that either leaves the old file or puts the new one in its
    // place, flushed through before it returns.
    if (error == 0 &&
        !::MoveFileExW(temporary.c_str(), Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = LastErrno();
    if (error != 0)
        ::DeleteFileW(temporary.c_str());
    return error;
}

} // namespace

base::Status CheckReplaceable(const std::string& path)
{
    const int error = ReplaceableError(path);
    return error == 0 ? base::Status::Ok() : base::Status::FromErrno(path, error);
}

base::Status ReplaceAtomically(const std::string& path, std::string_view bytes, const ReplaceRules& rules)
{
    const int error = Replace(path, bytes, rules);
    return error == 0 ? base::Status::Ok() : base::Status::FromErrno(path, error);
}

} // namespace files
