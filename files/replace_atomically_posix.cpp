#include "files/replace_atomically.h"

#include "posix/file_descriptor.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {
namespace {

std::string ParentFolder(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a write should replace: the path itself, or what a link at the
// path points to. Empty when a link cannot be resolved.
std::string ResolveTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return {};
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// 0 when the folder exists or was made, else the errno value of the failure.
int EnsureFolder(const std::string& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    const std::string parent = ParentFolder(folder);
    if (parent != folder) {
        if (const int error = EnsureFolder(parent); error != 0)
            return error;
    }
    return ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

// 0 when all of text was written, else the errno value of the failure.
int WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t count = ::write(fd, text.data(), text.size());
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        text.remove_prefix(static_cast<std::size_t>(count));
    }
    return 0;
}

struct TemporaryFile {
    std::string path;
    int fd = -1;
    int error = 0; // the errno value when no file could be made
};

// A fresh name beside the target, created with `mode`, so the umask applies
// just as it would to a newly created file.
TemporaryFile CreateTemporaryBeside(const std::string& target, unsigned mode)
{
    static std::atomic<unsigned> counter{0};
    const std::string prefix =
        ParentFolder(target) + "/." + BaseName(target) + ".tmp" + std::to_string(::getpid()) + "_";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = prefix + std::to_string(counter.fetch_add(1));
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
        if (fd >= 0)
            return {std::move(candidate), fd, 0};
        if (errno != EEXIST)
            return {{}, -1, errno};
    }
    return {{}, -1, EEXIST};
}

// The new file keeps the old one's permissions and, where allowed, its
// owner; a link it replaces has none worth keeping.
void CopyOwnershipAndMode(int fd, const std::string& target)
{
    struct stat old {};
    if (::lstat(target.c_str(), &old) != 0 || S_ISLNK(old.st_mode))
        return;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Not permitted for an ordinary user; the file then belongs to the writer.
    }
    ::fchmod(fd, old.st_mode & 07777);
}

void SyncFolder(const std::string& folder)
{
    posix::FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid())
        ::fsync(directory.get());
}

// 0 when the file at path may be replaced, else the errno value that says why not.
int ReplaceableError(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    // No write bit at all: read-only on purpose, which even a privileged
    // caller respects.
    if ((info.st_mode & 0222) == 0)
        return EACCES;
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

// 0 once `text` has replaced the file's content, else the errno value of
// the first step that failed.
int Replace(const std::string& path, std::string_view text, const ReplaceRules& rules)
{
    if (path.empty())
        return ENOENT;
    const std::string target = rules.followLink ? ResolveTarget(path) : path;
    if (target.empty())
        return errno != 0 ? errno : ENOENT;
    if (rules.makeFolders) {
        if (const int error = EnsureFolder(ParentFolder(target)); error != 0)
            return error;
    }
    // A link that is itself replaced says nothing of the file it points to.
    struct stat link {};
    const bool replacingLink = !rules.followLink && ::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
    if (const int error = replacingLink ? 0 : ReplaceableError(target); error != 0)
        return error;

    const TemporaryFile temporary = CreateTemporaryBeside(target, rules.newFileMode);
    if (temporary.fd < 0)
        return temporary.error;
    posix::FileDescriptor file(temporary.fd);
    CopyOwnershipAndMode(file.get(), target);
    int error = WriteAll(file.get(), text);
    if (error == 0 && ::fsync(file.get()) != 0)
        error = errno;
    if (!file.Close() && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.path.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.path.c_str());
        return error;
    }
    SyncFolder(ParentFolder(target));
    return 0;
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
