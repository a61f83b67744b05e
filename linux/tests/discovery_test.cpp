#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <unistd.h>

#include "linux/hotplug_watch.h"
#include "linux/linux_device_system.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A scratch directory removed with everything in it.
class TempTree {
public:
    TempTree()
    {
        std::string pattern = (fs::temp_directory_path() / "vantrel-serial-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
    }
    ~TempTree() { fs::remove_all(root); }

    void Touch(const fs::path& relative, const std::string& content = "")
    {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << content;
    }

    fs::path root;
};

class DiscoveryTest : public ::testing::Test {
protected:
    // A terminal entry in the tty class, with or without a device behind it,
    // a published UART type, and a node in /dev.
    void Terminal(const std::string& name, bool device, const std::string& type, bool node)
    {
        fs::create_directories(tree.root / "sys" / name);
        if (device)
            tree.Touch(fs::path("sys") / name / "device" / "driver");
        if (!type.empty())
            tree.Touch(fs::path("sys") / name / "type", type + "\n");
        if (node)
            tree.Touch(fs::path("dev") / name);
    }

    std::string Dev(const std::string& name) const { return (tree.root / "dev" / name).string(); }

    TempTree tree;
    std::vector<std::string> probed;
    linux_tty::LinuxDevices devices{{tree.root / "sys", tree.root / "dev"}, [this](const std::string& path) {
                                        probed.push_back(path);
                                        return path.ends_with("ttyS2");
                                    }};
};

TEST_F(DiscoveryTest, ListsFittedPortsInNaturalOrderThenExistingExtras)
{
    Terminal("ttyS0", true, "4", true);
    Terminal("ttyS1", true, "0", true); // registered, no UART fitted
    Terminal("ttyS10", true, "4", true);
    Terminal("ttyS2", true, "", true); // no published type: asked directly
    Terminal("ttyS3", true, "", true);
    Terminal("ttyUSB0", true, "", true);
    Terminal("ttyACM0", true, "", false); // node already gone
    Terminal("tty0", false, "", true);    // a virtual console
    Terminal("ptmx", false, "", true);
    tree.Touch("pty-from-emulator");

    const std::string extra = (tree.root / "pty-from-emulator").string();
    const auto ports = devices.ListPorts({"", (tree.root / "missing").string(), extra, Dev("ttyUSB0")});
    EXPECT_EQ(ports, (std::vector<std::string>{Dev("ttyS0"), Dev("ttyS2"), Dev("ttyS10"), Dev("ttyUSB0"), extra}));
    std::sort(probed.begin(), probed.end()); // probing follows the directory's order
    EXPECT_EQ(probed, (std::vector<std::string>{Dev("ttyS2"), Dev("ttyS3")}));
}

TEST_F(DiscoveryTest, MissingTreeListsOnlyExtras)
{
    linux_tty::LinuxDevices nowhere{{tree.root / "no-sys", tree.root / "no-dev"},
                                    [](const std::string&) { return true; }};
    tree.Touch("ttyV0");
    EXPECT_EQ(nowhere.ListPorts({(tree.root / "ttyV0").string()}),
              std::vector<std::string>{(tree.root / "ttyV0").string()});
}

TEST(NaturalOrder, NumbersCompareByValue)
{
    using linux_tty::NaturalLess;
    EXPECT_TRUE(NaturalLess("ttyS2", "ttyS10"));
    EXPECT_FALSE(NaturalLess("ttyS10", "ttyS2"));
    EXPECT_TRUE(NaturalLess("ttyACM9", "ttyS0"));
    EXPECT_TRUE(NaturalLess("ttyUSB", "ttyUSB0"));
    EXPECT_FALSE(NaturalLess("ttyS1", "ttyS1"));
}

TEST(SerialNodeNames, SerialDevicesButNotConsoles)
{
    using linux_tty::IsSerialNodeName;
    for (const char* name : {"ttyS0", "ttyUSB12", "ttyACM0", "ttyAMA0", "rfcomm0"})
        EXPECT_TRUE(IsSerialNodeName(name)) << name;
    for (const char* name : {"tty", "tty7", "null", "pts", "sda1"})
        EXPECT_FALSE(IsSerialNodeName(name)) << name;
}

TEST(Hotplug, ReportsSerialNodesArrivingAndLeaving)
{
    TempTree tree;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::uint32_t> events;
    auto waitFor = [&](std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 2s, [&] { return events.size() >= count; });
    };

    linux_tty::LinuxDevices devices{{tree.root / "sys", tree.root}};
    auto watch = devices.WatchHotplug([&](std::uint32_t event) {
        std::lock_guard lock(mutex);
        events.push_back(event);
        changed.notify_all();
    });
    tree.Touch("notes.txt");
    tree.Touch("tty5");
    tree.Touch("ttyUSB0");
    ASSERT_TRUE(waitFor(1));
    fs::remove(tree.root / "ttyUSB0");
    ASSERT_TRUE(waitFor(2));
    watch.reset();
    tree.Touch("ttyUSB1"); // no longer watched

    std::lock_guard lock(mutex);
    EXPECT_EQ(events, (std::vector<std::uint32_t>{0x8000, 0x8004}));
}

} // namespace
