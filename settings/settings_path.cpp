#include "settings/profile.h"
#include "settings/settings_path_system.h"

namespace settings {
namespace {

constexpr const char* kFileName = "vantrel.ini";

std::string FolderOf(const std::string& path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1]))
            return path.substr(0, i);
    }
    return {};
}

} // namespace

std::string SettingsPath(const std::string& executablePath)
{
    if (executablePath.empty())
        return {};
    const std::string folder = FolderOf(executablePath);
    const std::string besideExecutable = folder + kFileName;
    if (PathExists(besideExecutable) || IsWritableFolder(folder))
        return besideExecutable;
    const std::string userFolder = UserSettingsFolder();
    // Without any home folder the file beside the executable is still the best
    // guess: reading it gives the defaults and writing it fails harmlessly.
    if (userFolder.empty())
        return besideExecutable;
    return userFolder + PathSeparator() + kFileName;
}

} // namespace settings
