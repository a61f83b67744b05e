#include "windows/windows_device_system.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

#include "serial/port_names.h"
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

// Every DOS device name of the system, in one call; empty when the system
// does not answer it.
std::vector<std::string> AllDosDevices()
{
    std::vector<wchar_t> names(16 * 1024);
    for (;;) {
        const DWORD length = ::QueryDosDeviceW(nullptr, names.data(), static_cast<DWORD>(names.size()));
        if (length != 0) {
            std::vector<std::string> devices;
            for (const wchar_t* name = names.data(); name < names.data() + length && *name != L'\0';
                 name += std::wcslen(name) + 1)
                devices.push_back(Utf8(name));
            return devices;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || names.size() >= 4 * 1024 * 1024)
            return {};
        names.resize(names.size() * 4);
    }
}

// The COMn DOS devices: from the full list, or, where the system does not
// give one, by asking for COM1 to COM256 one by one.
std::vector<std::string> PortsFromDosDevices()
{
    std::vector<std::string> ports = AllDosDevices();
    if (!ports.empty())
        return ports;
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

// A port that cannot be opened, in the system's words and, where those
// speak of files or functions, what they mean for a COM port: the device
// behind the name is not there ("cannot find the file": an adapter pulled,
// a virtual port's driver stopped; Wine says "Invalid function" for a port
// whose device went, when the name opens but the device behind it does not
// answer), or another program holds it (a COM port is opened
// by one program at a time: "Access is denied").
base::Status OpenFailure(const std::string& path, DWORD error)
{
    std::string words = SystemErrorText(error);
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_FUNCTION:
    case ERROR_DEVICE_NOT_CONNECTED:
        words += ": the port's device is not there (unplugged, or its driver stopped)";
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        words += ": another program may have the port open";
        break;
    default:
        break;
    }
    return base::Status::Failure(path, static_cast<int>(error), words);
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

base::Result<std::unique_ptr<serial::Device>> WindowsDevices::Open(const std::string& path)
{
    win32::Handle port(::CreateFileW(Wide(DevicePath(path)).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!port.valid())
        return OpenFailure(path, ::GetLastError());
    ::SetupComm(port.get(), kDriverInputBuffer, kDriverOutputBuffer);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kReadWaitMs;
    win32::Handle wake(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!::SetCommTimeouts(port.get(), &timeouts) || !wake.valid())
        return OpenFailure(path, ::GetLastError());
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
    // Drivers of virtual ports and Bluetooth links may name their ports
    // only as DOS devices, and Wine's registry holds the ports it found when
    // its prefix was made: the list is the union of both.
    std::vector<std::string> ports = serial::ComPortUnion(PortsFromRegistry(), PortsFromDosDevices());
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
