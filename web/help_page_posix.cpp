#include "web/help_page.h"

#include "files/replace_atomically.h"
#include "res/embedded_files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace web {

namespace {

namespace fs = std::filesystem;

constexpr mode_t kPrivateFolder = 0700;

constexpr files::ReplaceRules kHelpFileRules{.makeFolders = false, .followLink = false, .newFileMode = 0600};

std::string_view AsText(std::span<const unsigned char> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string ErrorText(int error)
{
    return std::strerror(error);
}

// A folder held open, so each check and each step below it concerns the
// same folder, whatever is renamed meanwhile.
class OpenFolder {
public:
    explicit OpenFolder(int fd = -1) : m_fd(fd) {}
    ~OpenFolder()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFolder(OpenFolder&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    OpenFolder& operator=(OpenFolder&& other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    int fd() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Why an open folder is not one of the user's that only the user can
// change; empty when it is. With `makePrivate`, a folder of the user's that
// others may enter or write to is made private (0700) instead.
std::string Unsafe(const OpenFolder& folder, bool makePrivate)
{
    struct stat st {};
    if (::fstat(folder.fd(), &st) != 0)
        return ErrorText(errno);
    if (st.st_uid != ::geteuid())
        return "it belongs to another user";
    if (makePrivate)
        return (st.st_mode & 0777) == kPrivateFolder || ::fchmod(folder.fd(), kPrivateFolder) == 0 ? std::string()
                                                                                                   : ErrorText(errno);
    return (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 ? std::string() : "others can write to it";
}

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// The base folder, made private when missing. It must be the user's and
// closed to others' writing; the user may have named it through a link.
OpenFolder OpenBase(const fs::path& base, std::string& reason)
{
    OpenFolder folder(::open(base.c_str(), kFolderFlags));
    if (!folder.IsOpen() && errno == ENOENT && ::mkdir(base.c_str(), kPrivateFolder) == 0)
        folder = OpenFolder(::open(base.c_str(), kFolderFlags));
    if (!folder.IsOpen()) {
        reason = ErrorText(errno);
        return folder;
    }
    reason = Unsafe(folder, /*makePrivate=*/false);
    return reason.empty() ? std::move(folder) : OpenFolder();
}

// Why `name` in the open folder could not be opened as a folder.
std::string WhyNotOpened(const OpenFolder& folder, const fs::path& name, int error)
{
    struct stat st {};
    if (error == ELOOP || error == ENOTDIR) {
        if (::fstatat(folder.fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
            return "it is a symbolic link";
        return "it is not a folder";
    }
    return ErrorText(error);
}

// Each folder of `own` below the open base in turn: made private when
// missing, never followed through a link. On a refusal, `at` names the
// folder refused and `reason` says why.
OpenFolder OpenOwn(const OpenFolder& base, const fs::path& own, fs::path& at, std::string& reason)
{
    OpenFolder folder(::dup(base.fd()));
    for (const fs::path& part : own) {
        at /= part;
        OpenFolder next(::openat(folder.fd(), part.c_str(), kFolderFlags | O_NOFOLLOW));
        if (!next.IsOpen() && errno == ENOENT &&
            (::mkdirat(folder.fd(), part.c_str(), kPrivateFolder) == 0 || errno == EEXIST))
            next = OpenFolder(::openat(folder.fd(), part.c_str(), kFolderFlags | O_NOFOLLOW));
        if (!next.IsOpen()) {
            reason = WhyNotOpened(folder, part, errno);
            return OpenFolder();
        }
        reason = Unsafe(next, /*makePrivate=*/true);
        if (!reason.empty())
            return OpenFolder();
        folder = std::move(next);
    }
    return folder;
}

// A fresh private folder in the base, made once per process and base.
std::optional<fs::path> FreshFolder(const fs::path& base)
{
    static std::map<fs::path, fs::path> made;
    if (auto it = made.find(base); it != made.end()) {
        const OpenFolder folder(::open(it->second.c_str(), kFolderFlags | O_NOFOLLOW));
        if (folder.IsOpen() && Unsafe(folder, /*makePrivate=*/false).empty())
            return it->second;
    }
    std::string pattern = (base / "vantrel-help-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) // 0700, never an existing folder
        return std::nullopt;
    return made[base] = pattern;
}

} // namespace

HelpPageResult WriteHelpPage(const HelpPlace& place)
{
    HelpPageResult result;
    std::string reason = "it is not an absolute path";
    const OpenFolder base = place.base.is_absolute() ? OpenBase(place.base, reason) : OpenFolder();
    if (!base.IsOpen()) {
        result.refusal = base::Status::Failure(place.base.string(), 0, reason);
        return result;
    }
    fs::path folder = place.base;
    if (!OpenOwn(base, place.own, folder, reason).IsOpen()) {
        result.refusal = base::Status::Failure(folder.string(), 0, reason);
        const auto fresh = FreshFolder(place.base);
        if (!fresh)
            return result;
        folder = *fresh;
    }
    result.folder = folder;
    for (std::string_view name : kHelpFiles) {
        const auto file = res::FindEmbeddedFile(name);
        // The folder is ours alone: a link in it is replaced, never followed.
        const base::Status written =
            file ? files::ReplaceAtomically((folder / name).string(), AsText(file->bytes), kHelpFileRules)
                 : base::Status::FromErrno((folder / name).string(), ENOENT);
        if (!written) {
            result.refusal = written.On(folder.string());
            return result;
        }
    }
    result.address = FileUrl(folder / kHelpPage);
    return result;
}

HelpPageResult WriteHelpPage()
{
    const auto place = HelpFolder(std::getenv("XDG_RUNTIME_DIR"), std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
    if (!place)
        return HelpPageResult{
            std::nullopt, {}, base::Status::Failure("~/.cache", 0, "neither XDG_RUNTIME_DIR nor HOME is set")};
    return WriteHelpPage(*place);
}

} // namespace web
