#pragma once

#include "serial/device.h"

namespace win32_com {

// The COM ports of this machine. A failure's code is the Win32 error code
// (GetLastError) and its words are the system's (SystemErrorText).
class WindowsDevices : public serial::DeviceSystem {
public:
    // path is a port name ("COM5") or a device path ("\\.\COM5").
    base::Result<std::unique_ptr<serial::Device>> Open(const std::string& path) override;
    // The ports the system lists under HARDWARE\DEVICEMAP\SERIALCOMM, else
    // those of COM1 to COM256 that have a device name; in number order.
    std::vector<std::string> ListPorts(const std::vector<std::string>& extra) override;
    std::unique_ptr<serial::HotplugWatch> WatchHotplug(std::function<void(std::uint32_t)> onChange) override;
};

// The device path of a port name: "COM12" -> "\\.\COM12" (needed from COM10
// on); a path that already is one stays as it is.
std::string DevicePath(const std::string& port);

// The system's words for a Win32 error code, without the closing full stop.
std::string SystemErrorText(unsigned long error);

// Sorts port names by their number (COM2 before COM10), others by name.
void SortPortNames(std::vector<std::string>& names);

} // namespace win32_com
