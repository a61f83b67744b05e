#include "linux/port_discovery.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <string_view>
#include <linux/serial.h>
#include <sys/ioctl.h>

#include "posix/file_descriptor.h"

namespace linux_tty {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBuiltInUartPrefix = "ttyS";

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The UART type that the serial core publishes beside the terminal, when it
// does: 0 means no UART was found at that address.
std::optional<int> PublishedUartType(const fs::path& ttyEntry)
{
    std::ifstream file(ttyEntry / "type");
    int type = 0;
    if (file >> type)
        return type;
    return std::nullopt;
}

bool IsPresentPort(const fs::path& ttyEntry, const fs::path& node, const UartProbe& uartIsFitted)
{
    std::error_code error;
    if (!fs::exists(ttyEntry / "device", error) || !fs::exists(node, error))
        return false;
    const std::string name = ttyEntry.filename().string();
    if (!name.starts_with(kBuiltInUartPrefix) || !IsDigit(name.back()))
        return true;
    if (const auto type = PublishedUartType(ttyEntry))
        return *type != PORT_UNKNOWN;
    return uartIsFitted(node.string());
}

} // namespace

bool NaturalLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::size_t startA = i, startB = j;
            while (i < a.size() && IsDigit(a[i]))
                ++i;
            while (j < b.size() && IsDigit(b[j]))
                ++j;
            const std::string numberA = a.substr(startA, i - startA), numberB = b.substr(startB, j - startB);
            const auto trimmedA = numberA.substr(std::min(numberA.find_first_not_of('0'), numberA.size()));
            const auto trimmedB = numberB.substr(std::min(numberB.find_first_not_of('0'), numberB.size()));
            if (trimmedA.size() != trimmedB.size())
                return trimmedA.size() < trimmedB.size();
            if (trimmedA != trimmedB)
                return trimmedA < trimmedB;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    return a < b;
}

std::vector<std::string> FindSerialPorts(const DiscoveryRoots& roots, const std::vector<std::string>& extra,
                                         const UartProbe& uartIsFitted)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(roots.ttyClass, error)) {
        const std::string name = entry.path().filename().string();
        if (IsPresentPort(entry.path(), roots.dev / name, uartIsFitted))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NaturalLess);

    std::vector<std::string> ports;
    for (const auto& name : names)
        ports.push_back((roots.dev / name).string());
    for (const auto& path : extra) {
        if (!path.empty() && fs::exists(path, error) && std::find(ports.begin(), ports.end(), path) == ports.end())
            ports.push_back(path);
    }
    return ports;
}

bool UartIsFitted(const std::string& devicePath)
{
    const auto device = posix::OpenFile(devicePath, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (!device)
        return device.status().code() == EBUSY; // held open exclusively by someone
    serial_struct info{};
    return ::ioctl(device->get(), TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
}

} // namespace linux_tty
