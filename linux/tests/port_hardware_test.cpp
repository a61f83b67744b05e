#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "linux/linux_device_system.h"
#include "serial/port_names.h"

namespace {

namespace fs = std::filesystem;

// A sysfs and /dev of its own in a scratch directory, shaped as the kernel
// lays them out for a USB serial adapter (ttyUSB: port below the interface),
// a USB modem-class device (ttyACM: the interface itself) and a UART.
class PortHardwareTest : public ::testing::Test {
protected:
    static fs::path MakeRoot()
    {
        std::string pattern = (fs::temp_directory_path() / "vantrel-sysfs-XXXXXX").string();
        const fs::path made = ::mkdtemp(pattern.data());
        fs::create_directories(made / "dev/pts");
        return made;
    }
    ~PortHardwareTest() override { fs::remove_all(root); }

    void Attribute(const fs::path& dir, const std::string& name, const std::string& value)
    {
        fs::create_directories(root / dir);
        std::ofstream(root / dir / name) << value << "\n";
    }

    // /sys/class/tty/<name>/device leads to the device folder; /dev/<name> exists.
    void Terminal(const std::string& name, const fs::path& device)
    {
        fs::create_directories(root / device);
        fs::create_directories(root / "sys/class/tty" / name);
        fs::create_symlink(root / device, root / "sys/class/tty" / name / "device");
        std::ofstream(root / "dev" / name).put('\0');
    }

    std::string Describe(const std::string& devPath)
    {
        return serial::PortDescription(devices.DescribeHardware((root / "dev" / devPath).string()));
    }

    const fs::path root = MakeRoot();
    linux_tty::LinuxDevices devices{{root / "sys/class/tty", root / "dev"}};
};

TEST_F(PortHardwareTest, TellsUsbAdaptersUartsAndPseudoTerminalsApart)
{
    const fs::path usb = "sys/devices/pci0000:00/0000:00:14.0/usb1";
    Attribute(usb, "idVendor", "1d6b"); // the root hub: never reached
    Attribute(usb / "1-1", "idVendor", "0403");
    Attribute(usb / "1-1", "idProduct", "6001");
    Attribute(usb / "1-1", "manufacturer", "FTDI");
    Attribute(usb / "1-1", "product", "FT232R USB UART");
    Attribute(usb / "1-1", "serial", "A50285BI");
    Terminal("ttyUSB0", usb / "1-1/1-1:1.0/ttyUSB0");
    Attribute(usb / "1-2", "idVendor", "2e8a"); // no strings of its own
    Attribute(usb / "1-2", "idProduct", "000a");
    Terminal("ttyACM0", usb / "1-2/1-2:1.0");
    Terminal("ttyS0", "sys/devices/platform/serial8250/tty/ttyS0");
    fs::create_directories(root / "sys/class/tty/rfcomm0"); // no device behind it
    std::ofstream(root / "dev/pts/3").put('\0');
    fs::create_directories(root / "dev/serial/by-id");
    fs::create_symlink("../../ttyUSB0", root / "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    fs::create_symlink("pts/3", root / "dev/ttyV0"); // a socat link

    EXPECT_EQ(Describe("ttyUSB0"), "FTDI FT232R USB UART (USB 0403:6001), serial number A50285BI");
    EXPECT_EQ(Describe("serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"),
              "FTDI FT232R USB UART (USB 0403:6001), serial number A50285BI");
    EXPECT_EQ(Describe("ttyACM0"), "USB 2e8a:000a");
    EXPECT_EQ(Describe("ttyS0"), "on-board UART");
    EXPECT_EQ(Describe("pts/3"), "pseudo-terminal");
    EXPECT_EQ(Describe("ttyV0"), "pseudo-terminal");
    EXPECT_EQ(Describe("rfcomm0"), "");
    EXPECT_EQ(Describe("missing"), "");
}

} // namespace
