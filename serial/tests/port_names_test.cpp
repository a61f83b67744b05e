#include "serial/port_names.h"

#include <gtest/gtest.h>

TEST(PortNames, DevicePathsUnderDevShowWithoutThePrefixAndComeBackWhole)
{
    for (const char* path : {"/dev/ttyUSB0", "/dev/pts/7", "/tmp/vport", "/dev/", ""}) {
        const std::string name = serial::PortDisplayName(path);
        EXPECT_EQ(serial::PortDevicePath(name), path) << path;
    }
    EXPECT_EQ(serial::PortDisplayName("/dev/ttyACM1"), "ttyACM1");
    EXPECT_EQ(serial::PortDisplayName("/home/me/pty"), "/home/me/pty");
}

TEST(PortNames, ComPortsAreTheUnionOfRegistryAndDosDevicesEachOnceInNumberOrder)
{
    // Wine's registry holds COM1 and COM2; a link made later is only a DOS
    // device ("com5" as Wine spells it); COM2 is in both; a driver's own name
    // stays; drives and other devices in the DOS list do not count.
    const std::vector<std::string> registry{"COM2", "CNCA0", "COM1", "COM10"};
    const std::vector<std::string> dos{"C:", "com5", "COM2", "AUX", "PhysicalDrive0", "COM05", "COMX", "COM", "COM3"};
    EXPECT_EQ(serial::ComPortUnion(registry, dos),
              (std::vector<std::string>{"COM1", "COM2", "COM3", "COM5", "COM10", "CNCA0"}));
    EXPECT_EQ(serial::ComPortUnion({}, {"COM7"}), (std::vector<std::string>{"COM7"}));
    EXPECT_EQ(serial::ComPortUnion({"COM7"}, {}), (std::vector<std::string>{"COM7"}));
}
