#include "windows/windows_device_system.h"

#include <algorithm>
#include <cstdlib>

#include "windows/com_device.h"
#include "windows/hotplug_window.h"
#include "windows/text.h"
#include "windows/win32.h"

namespace win32_com {

namespace {

// Sizes asked of the driver's own buffers; it may choose others.
constexpr DWORD kDriverInputBuffer = 64 * 1024;
constexpr DWORD kDriverOutputBuffer = 64 * 1024;
// A read ends 1 ms after the last byte of a burst (or with a full buffer),
// or empty after kReadWaitMs; the I/O thread then reads again. (The "return
// with the first byte" setting, MAXDWORD intervals, delivered no bytes under
// Wine's serial driver.)
constexpr DWORD kReadIntervalMs = 1;
constexpr DWORD kReadWaitMs = 100;

// The number of "COMn", or 0 for another name.
unsigned PortNumber(const std::string& name)
{
    if (name.size() < 4 || name.compare(0, 3, "COM") != 0)
        return 0;
    unsigned number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || number > 100000)
            return 0;
        number = number * 10 + static_cast<unsigned>(name[i] - '0');
    }
    return number;
}

std::vector<std::string> PortsFromRegistry()
{
    std::vector<std::string> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        wchar_t data[256];
        DWORD nameLength = std::size(name);
        DWORD dataBytes = sizeof data;
        DWORD type = 0;
        const LONG result =
            ::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const std::size_t chars = std::min<std::size_t>(dataBytes / sizeof(wchar_t), std::size(data));
        std::wstring port(data, chars);
        port.erase(std::find(port.begin(), port.end(), L'\0'), port.end());
        if (!port.empty())
            ports.push_back(Utf8(port));
    }
    ::RegCloseKey(key);
    return ports;
}

bool HasDosDevice(const std::string& name)
{
    wchar_t target[1024];
    return ::QueryDosDeviceW(Wide(name).c_str(), target, static_cast<DWORD>(std::size(target))) != 0;
}

std::vector<std::string> PortsFromDosDevices()
{
    std::vector<std::string> ports;
    for (int number = 1; number <= 256; ++number) {
        const std::string name = "COM" + std::to_string(number);
        if (HasDosDevice(name))
            ports.push_back(name);
    }
    return ports;
}

bool Exists(const std::string& path)
{
    return HasDosDevice(path) || ::GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A failed opening of path, in the system's words.
base::Status Failure(const std::string& path, DWORD error)
{
    return base::Status::Failure(path, static_cast<int>(error), SystemErrorText(error));
}

} // namespace

std::string DevicePath(const std::string& port)
{
    if (port.rfind("\\\\", 0) == 0)
        return port;
    // The window names a port's device the Linux way ("/dev/" and the name
    // the list shows); here the name alone is the device.
    constexpr std::string_view kDevFolder = "/dev/";
    const std::string name = port.rfind(kDevFolder, 0) == 0 ? port.substr(kDevFolder.size()) : port;
    return "\\\\.\\" + name;
}

void SortPortNames(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const unsigned na = PortNumber(a), nb = PortNumber(b);
        if ((na != 0) != (nb != 0))
            return na != 0;
        return na != nb ? na < nb : a < b;
    });
}

base::Result<std::unique_ptr<serial::Device>> WindowsDevices::Open(const std::string& path)
{
    win32::Handle port(::CreateFileW(Wide(DevicePath(path)).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!port.valid())
        return Failure(path, ::GetLastError());
    ::SetupComm(port.get(), kDriverInputBuffer, kDriverOutputBuffer);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kReadWaitMs;
    win32::Handle wake(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!::SetCommTimeouts(port.get(), &timeouts) || !wake.valid())
        return Failure(path, ::GetLastError());
    // What arrived before belongs to no one.
    ::PurgeComm(port.get(), PURGE_RXCLEAR | PURGE_TXCLEAR);
    return std::unique_ptr<serial::Device>(std::make_unique<ComDevice>(std::move(port), std::move(wake)));
}

std::string SystemErrorText(unsigned long error)
{
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 && text != nullptr ? std::wstring(text, length) : std::wstring();
    if (text != nullptr)
        ::LocalFree(text);
    // The system ends its texts with a full stop and a line break.
    while (!message.empty() &&
           (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    if (message.empty())
        return "Error " + std::to_string(error);
    return Utf8(message);
}

std::vector<std::string> WindowsDevices::ListPorts(const std::vector<std::string>& extra)
{
    std::vector<std::string> ports = PortsFromRegistry();
    if (ports.empty())
        ports = PortsFromDosDevices();
    SortPortNames(ports);
    ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
    for (const std::string& path : extra) {
        if (std::find(ports.begin(), ports.end(), path) == ports.end() && Exists(path))
            ports.push_back(path);
    }
    return ports;
}

std::unique_ptr<serial::HotplugWatch> WindowsDevices::WatchHotplug(std::function<void(std::uint32_t)> onChange)
{
    return std::make_unique<HotplugWindow>(std::move(onChange));
}

} // namespace win32_com

namespace serial {

DeviceSystem& WindowsDeviceSystem()
{
    static win32_com::WindowsDevices devices;
    return devices;
}

} // namespace serial
