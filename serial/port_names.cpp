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

} // namespace serial
