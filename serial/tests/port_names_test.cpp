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
