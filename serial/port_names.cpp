#include "serial/port_names.h"

#include <algorithm>

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

std::string PortDescription(const PortHardware& hardware)
{
    switch (hardware.kind) {
    case PortHardware::Kind::OnBoardUart:
        return "on-board UART";
    case PortHardware::Kind::PseudoTerminal:
        return "pseudo-terminal";
    case PortHardware::Kind::Unknown:
        return {};
    case PortHardware::Kind::Usb:
        break;
    }
    std::string name = hardware.manufacturer;
    if (!name.empty() && !hardware.product.empty())
        name += ' ';
    name += hardware.product;
    std::string text = "USB " + hardware.vendorId + ":" + hardware.productId;
    if (!name.empty())
        text = name + " (" + text + ")";
    if (!hardware.serialNumber.empty())
        text += ", serial number " + hardware.serialNumber;
    return text;
}

unsigned ComPortNumber(const std::string& name)
{
    if (name.size() < 4 || name[3] == '0')
        return 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if ((name[i] & ~0x20) != "COM"[i])
            return 0;
    }
    unsigned number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || number > 100000)
            return 0;
        number = number * 10 + static_cast<unsigned>(name[i] - '0');
    }
    return number;
}

void SortComPortNames(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const unsigned na = ComPortNumber(a), nb = ComPortNumber(b);
        if ((na != 0) != (nb != 0))
            return na != 0;
        return na != nb ? na < nb : a < b;
    });
}

std::vector<std::string> ComPortUnion(const std::vector<std::string>& registry,
                                      const std::vector<std::string>& dosDevices)
{
    std::vector<std::string> ports;
    const auto add = [&ports](const std::string& name) {
        const unsigned number = ComPortNumber(name);
        std::string port = number != 0 ? "COM" + std::to_string(number) : name;
        if (!port.empty() && std::find(ports.begin(), ports.end(), port) == ports.end())
            ports.push_back(std::move(port));
    };
    for (const std::string& name : registry)
        add(name);
    for (const std::string& name : dosDevices) {
        if (ComPortNumber(name) != 0)
            add(name);
    }
    SortComPortNames(ports);
    return ports;
}

} // namespace serial
