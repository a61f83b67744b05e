#include "linux/port_hardware.h"

#include <cerrno>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace linux_tty {

namespace fs = std::filesystem;

namespace {

// A USB serial function sits one level (ttyACM: the interface) or two
// levels (ttyUSB: the port below the interface) under its USB device.
constexpr int kLevelsToUsbDevice = 3;

// The first line of a sysfs attribute; empty when it cannot be read.
std::string ReadAttribute(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
        line.pop_back();
    return line;
}

fs::path Resolved(const fs::path& path)
{
    std::error_code error;
    fs::path resolved = fs::canonical(path, error);
    return error ? path : resolved;
}

} // namespace

serial::PortHardware ReadPortHardware(const DiscoveryRoots& roots, const std::string& devicePath)
{
    using Kind = serial::PortHardware::Kind;
    serial::PortHardware hardware;
    const fs::path node = Resolved(devicePath);
    if (node.parent_path() == Resolved(roots.dev / "pts")) {
        hardware.kind = Kind::PseudoTerminal;
        return hardware;
    }
    std::error_code error;
    const fs::path device = fs::canonical(roots.ttyClass / node.filename() / "device", error);
    if (error)
        return hardware;
    fs::path dir = device;
    for (int level = 0; level < kLevelsToUsbDevice && dir.has_relative_path(); ++level, dir = dir.parent_path()) {
        if (!fs::exists(dir / "idVendor", error))
            continue;
        hardware.kind = Kind::Usb;
        hardware.vendorId = ReadAttribute(dir / "idVendor");
        hardware.productId = ReadAttribute(dir / "idProduct");
        hardware.manufacturer = ReadAttribute(dir / "manufacturer");
        hardware.product = ReadAttribute(dir / "product");
        hardware.serialNumber = ReadAttribute(dir / "serial");
        return hardware;
    }
    hardware.kind = Kind::OnBoardUart;
    return hardware;
}

std::string DeviceAccessGroup(const std::string& devicePath)
{
    struct stat st {};
    if (::stat(devicePath.c_str(), &st) != 0 || st.st_gid == 0)
        return {};
    if ((st.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return {};
    // A group with many members needs a larger buffer than the suggested one.
    const long suggested = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 4096);
    struct group entry {};
    struct group* found = nullptr;
    int result = 0;
    while ((result = ::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    if (result != 0 || !found || !found->gr_name)
        return {};
    return found->gr_name;
}

} // namespace linux_tty
