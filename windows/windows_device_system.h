#pragma once

#include "serial/device.h"

namespace win32_com {

// The COM ports of this machine. A failure's code is the Win32 error code
// (GetLastError) and its words are the system's (SystemErrorText).
class WindowsDevices : public serial::DeviceSystem {
public:
    // path is a port name ("COM5") or a device path ("\\.\COM5").
    base::Result<std::unique_ptr<serial::Device>> Open(const std::string& path) override;
    // The ports the system lists under HARDWARE\DEVICEMAP\SERIALCOMM and
    // every COMn DOS device, each once, in number order (ComPortUnion); then
    // those of extra that exist and are not listed yet.
    std::vector<std::string> ListPorts(const std::vector<std::string>& extra) override;
    std::unique_ptr<serial::HotplugWatch> WatchHotplug(std::function<void(std::uint32_t)> onChange) override;
};

// The device path of a port name: "COM12" -> "\\.\COM12" (needed from COM10
// on); a path that already is one stays as it is.
std::string DevicePath(const std::string& port);

// The system's words for a Win32 error code, without the closing full stop.
std::string SystemErrorText(unsigned long error);

} // namespace win32_com
