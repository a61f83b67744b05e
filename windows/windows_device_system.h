#pragma once

#include "serial/device.h"

namespace win32_com {

// The COM ports of this machine. Error codes are Win32 error codes
// (GetLastError), told in the system's words by ErrorText.
class WindowsDevices : public serial::DeviceSystem {
public:
    // path is a port name ("COM5") or a device path ("\\.\COM5").
    std::unique_ptr<serial::Device> Open(const std::string& path, int& error) override;
    std::string ErrorText(int error) override;
    // The ports the system lists under HARDWARE\DEVICEMAP\SERIALCOMM, else
    // those of COM1 to COM256 that have a device name; in number order.
    std::vector<std::string> ListPorts(const std::vector<std::string>& extra) override;
    std::unique_ptr<serial::HotplugWatch> WatchHotplug(std::function<void(std::uint32_t)> onChange) override;
};

// The device path of a port name: "COM12" -> "\\.\COM12" (needed from COM10
// on); a path that already is one stays as it is.
std::string DevicePath(const std::string& port);

// Sorts port names by their number (COM2 before COM10), others by name.
void SortPortNames(std::vector<std::string>& names);

} // namespace win32_com
