#include "web/help_page.h"

#include "res/embedded_files.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace web {

namespace {

namespace fs = std::filesystem;

// The help page and the images it refers to, written side by side.
constexpr std::array<std::string_view, 2> kHelpFiles = {kHelpPage, "vantrel-logo.svg"};

constexpr mode_t kPrivateFolder = 0700;

bool IsUsable(const char* value)
{
    return value && *value == '/';
}

// Makes `folder` exist as a private folder of ours: created with 0700 when
// missing, refused when it is a link, not a folder, or someone else's.
bool MakePrivateFolder(const fs::path& folder)
{
    if (::mkdir(folder.c_str(), kPrivateFolder) != 0 && errno != EEXIST) {
        if (errno != ENOENT || !folder.has_parent_path() || folder.parent_path() == folder ||
            !MakePrivateFolder(folder.parent_path()) ||
            (::mkdir(folder.c_str(), kPrivateFolder) != 0 && errno != EEXIST))
            return false;
    }
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    return (st.st_mode & 0777) == kPrivateFolder || ::chmod(folder.c_str(), kPrivateFolder) == 0;
}

bool WriteAll(int fd, std::span<const unsigned char> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes the bytes to a new file beside `target` and renames it over the
// target, which replaces the target (or a link standing there) in one step.
bool ReplaceFile(const fs::path& target, std::span<const unsigned char> bytes)
{
    std::string temp = (target.parent_path() / ".vantrel-XXXXXX").string();
    const int fd = ::mkstemp(temp.data()); // 0600, never an existing file
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temp.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

// Folders below a base that the user may share with others: the name is
// ours alone, so nothing else of the user's is touched.
const fs::path kOwnFolder = fs::path("vantrel") / "help";

} // namespace

std::optional<fs::path> HelpFolder(const char* runtimeDir, const char* cacheHome, const char* home)
{
    if (IsUsable(runtimeDir))
        return fs::path(runtimeDir) / kOwnFolder;
    if (IsUsable(cacheHome))
        return fs::path(cacheHome) / kOwnFolder;
    if (IsUsable(home))
        return fs::path(home) / ".cache" / kOwnFolder;
    return std::nullopt;
}

std::optional<std::string> WriteHelpPage(const fs::path& folder)
{
    if (!folder.is_absolute() || !MakePrivateFolder(folder))
        return std::nullopt;
    for (std::string_view name : kHelpFiles) {
        const auto file = res::FindEmbeddedFile(name);
        if (!file || !ReplaceFile(folder / name, file->bytes))
            return std::nullopt;
    }
    return FileUrl(folder / kHelpPage);
}

std::optional<std::string> WriteHelpPage()
{
    const auto folder = HelpFolder(std::getenv("XDG_RUNTIME_DIR"), std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
    if (!folder)
        return std::nullopt;
    return WriteHelpPage(*folder);
}

std::string FileUrl(const fs::path& absolute)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : absolute.string()) {
        const auto b = static_cast<unsigned char>(c);
        const bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
                           b == '.' || b == '_' || b == '~' || b == '/';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[b >> 4];
            url += kHex[b & 15];
        }
    }
    return url;
}

} // namespace web
