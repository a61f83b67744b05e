#include "settings/atomic_replace.h"

#include "settings/file_descriptor.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {
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

bool EnsureFolder(const std::string& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    if (errno != ENOENT)
        return false;
    const std::string parent = ParentFolder(folder);
    if (parent != folder && !EnsureFolder(parent))
        return false;
    return ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t count = ::write(fd, text.data(), text.size());
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

struct TemporaryFile {
    std::string path;
    int fd = -1;
};

// A fresh name beside the target; created with mode 0666 so the umask applies
// just as it would to a newly created settings file.
std::optional<TemporaryFile> CreateTemporaryBeside(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    const std::string prefix =
        ParentFolder(target) + "/." + BaseName(target) + ".tmp" + std::to_string(::getpid()) + "_";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = prefix + std::to_string(counter.fetch_add(1));
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return TemporaryFile{std::move(candidate), fd};
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

// The new file keeps the old one's permissions and, where allowed, its owner.
void CopyOwnershipAndMode(int fd, const std::string& target)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0)
        return;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Not permitted for an ordinary user; the file then belongs to the writer.
    }
    ::fchmod(fd, old.st_mode & 07777);
}

void SyncFolder(const std::string& folder)
{
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid())
        ::fsync(directory.get());
}

} // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view text)
{
    if (path.empty())
        return false;
    const std::string target = ResolveTarget(path);
    if (target.empty() || !EnsureFolder(ParentFolder(target)))
        return false;

    const auto temporary = CreateTemporaryBeside(target);
    if (!temporary)
        return false;
    FileDescriptor file(temporary->fd);
    CopyOwnershipAndMode(file.get(), target);
    const bool written = WriteAll(file.get(), text) && ::fsync(file.get()) == 0;
    if (!file.Close() || !written || ::rename(temporary->path.c_str(), target.c_str()) != 0) {
        ::unlink(temporary->path.c_str());
        return false;
    }
    SyncFolder(ParentFolder(target));
    return true;
}

} // namespace settings
