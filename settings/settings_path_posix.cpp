#include "settings/profile.h"
#include "settings/settings_path_system.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace settings {
namespace {

constexpr const char* kConfigFolder = "vantrel";

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

bool IsPathSeparator(char c)
{
    return c == '/';
}

char PathSeparator()
{
    return '/';
}

bool PathExists(const std::string& path)
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

std::string UserSettingsFolder()
{
    const std::string configHome = ConfigHome();
    return configHome.empty() ? std::string() : configHome + "/" + kConfigFolder;
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
