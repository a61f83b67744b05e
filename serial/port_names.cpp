#include "serial/port_names.h"

namespace serial {

namespace {
constexpr std::string_view kDevFolder = "/dev/";
}

std::string PortDisplayName(const std::string& devicePath)
{
    if (devicePath.size() > kDevFolder.size() && devicePath.starts_with(kDevFolder))
        return devicePath.substr(kDevFolder.size());
    return devicePath;
}

std::string PortDevicePath(const std::string& name)
{
    if (name.empty() || name.front() == '/')
        return name;
    return std::string(kDevFolder) + name;
}

} // namespace serial
