#include "settings/profile.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace settings {
namespace {

constexpr const char* kFileName = "vantrel.ini";
constexpr const char* kConfigFolder = "vantrel";

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool IsWritableFolder(const std::string& folder)
{
    const std::string checked = folder.empty() ? "." : folder;
    struct stat info {};
    return ::stat(checked.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(checked.c_str(), W_OK) == 0;
}

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string HomeFolder()
{
    std::string home = EnvironmentValue("HOME");
    if (!home.empty())
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return {};
}

// Only an absolute XDG_CONFIG_HOME counts; a relative one is ignored.
std::string ConfigHome()
{
    const std::string configHome = EnvironmentValue("XDG_CONFIG_HOME");
    if (!configHome.empty() && configHome.front() == '/')
        return configHome;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/.config";
}

} // namespace

std::string SettingsPath(const std::string& executablePath)
{
    if (executablePath.empty())
        return {};
    const std::string folder = FolderOf(executablePath);
    const std::string besideExecutable = folder + kFileName;
    if (Exists(besideExecutable) || IsWritableFolder(folder))
        return besideExecutable;
    const std::string configHome = ConfigHome();
    // Without any home folder the file beside the executable is still the best
    // guess: reading it gives the defaults and writing it fails harmlessly.
    if (configHome.empty())
        return besideExecutable;
    return configHome + "/" + kConfigFolder + "/" + kFileName;
}

std::string ExecutablePath()
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace settings
