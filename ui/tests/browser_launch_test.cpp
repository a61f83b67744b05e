// The system opener: a stand-in xdg-open (or browser) on a private PATH
// records how it was started and ends with the status the test asks for.
#include "ui/browser_launch.h"
#include "ui/open_address.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Sets an environment variable for the test's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class BrowserLaunchTest : public ::testing::Test {
protected:
    BrowserLaunchTest() : m_dir(fs::temp_directory_path() / ("vantrel-opener-" + std::to_string(::getpid())))
    {
        fs::create_directories(m_dir);
    }
    ~BrowserLaunchTest() override { fs::remove_all(m_dir); }

    // A program on the private PATH that records its arguments, sleeps
    // `sleepSeconds` and exits with `status`.
    void AddProgram(const std::string& name, int status, int sleepSeconds = 0)
    {
        const fs::path path = m_dir / name;
        std::ofstream(path) << "#!/bin/sh\n"
                            << "printf '%s' \"$#\" > '" << (m_dir / (name + ".count")).string() << "'\n"
                            << "printf '%s' \"$1\" > '" << (m_dir / (name + ".arg")).string() << "'\n"
                            << "printf '%s|' \"$@\" > '" << (m_dir / (name + ".args")).string() << "'\n"
                            << (sleepSeconds ? "/bin/sleep " + std::to_string(sleepSeconds) + "\n" : "") << "exit "
                            << status << "\n";
        fs::permissions(path, fs::perms::owner_all);
    }
    std::string ArgumentOf(const std::string& name) const { return ReadFile(m_dir / (name + ".arg")); }
    std::string CountOf(const std::string& name) const { return ReadFile(m_dir / (name + ".count")); }
    // Every argument, each followed by '|'.
    std::string ArgumentsOf(const std::string& name) const { return ReadFile(m_dir / (name + ".args")); }

    fs::path m_dir;
    ScopedEnv m_path{"PATH", m_dir.string()};
};

TEST_F(BrowserLaunchTest, TheAddressReachesTheOpenerAsOneUntouchedArgument)
{
    AddProgram("xdg-open", 0);
    const std::string address = "https://x.example/a b;touch /tmp/p 'q' \"$(id)\" `id` & | > * ?\n$HOME";
    EXPECT_EQ(ui::LaunchBrowser(address), ui::kOpenSucceeded);
    EXPECT_EQ(CountOf("xdg-open"), "1");
    EXPECT_EQ(ArgumentOf("xdg-open"), address);
}

TEST_F(BrowserLaunchTest, OpenerStatusesBecomeResultCodes)
{
    AddProgram("xdg-open", 3);
    EXPECT_EQ(ui::LaunchBrowser("https://a.example/"), ui::kOpenNoHandler);
    AddProgram("xdg-open", 4);
    EXPECT_EQ(ui::LaunchBrowser("https://a.example/"), 4);
}

TEST_F(BrowserLaunchTest, WithoutXdgOpenTheBrowsersOfTheEnvironmentAreTried)
{
    {
        ScopedEnv browser("BROWSER", "no-such-browser::fake-browser");
        AddProgram("fake-browser", 0);
        EXPECT_EQ(ui::LaunchBrowser("https://b.example/"), ui::kOpenSucceeded);
        EXPECT_EQ(ArgumentOf("fake-browser"), "https://b.example/");
        AddProgram("fake-browser", 3); // only xdg-open's 3 means "no handler"
        EXPECT_EQ(ui::LaunchBrowser("https://b.example/"), 3);
    }
    ::unsetenv("BROWSER");
    EXPECT_EQ(ui::LaunchBrowser("https://b.example/"), ui::kOpenNoOpener);
}

TEST(BrowserCommand, SplitsWithoutAShellAndPutsTheAddressWherePercentSStands)
{
    using V = std::vector<std::string>;
    const std::string a = "https://a.example/x y;$(id)";
    EXPECT_EQ(ui::BrowserCommand("firefox", a), (V{"firefox", a}));
    EXPECT_EQ(ui::BrowserCommand("  firefox\t--new-tab  ", a), (V{"firefox", "--new-tab", a}));
    EXPECT_EQ(ui::BrowserCommand("browse --url=%s --zoom=100%%", a), (V{"browse", "--url=" + a, "--zoom=100%"}));
    EXPECT_EQ(ui::BrowserCommand("'/opt/My Browser/run' \"%s\" %d", a), (V{"/opt/My Browser/run", a, "%d"}));
    EXPECT_EQ(ui::BrowserCommand("run '' %%s", a), (V{"run", "", "%s", a}));
    EXPECT_TRUE(ui::BrowserCommand(" ", a).empty());
}

TEST_F(BrowserLaunchTest, EachFailingOpenerHandsOnToTheNextAndOnlyTheLastFailureIsReported)
{
    AddProgram("xdg-open", 4);
    AddProgram("broken-browser", 1);
    AddProgram("good-browser", 0);
    {
        ScopedEnv browser("BROWSER", "missing-browser:broken-browser %s --x:good-browser --open=%s 'a b'");
        EXPECT_EQ(ui::LaunchBrowser("https://d.example/"), ui::kOpenSucceeded);
        EXPECT_EQ(ArgumentsOf("xdg-open"), "https://d.example/|");
        EXPECT_EQ(ArgumentsOf("broken-browser"), "https://d.example/|--x|");
        EXPECT_EQ(ArgumentsOf("good-browser"), "--open=https://d.example/|a b|");
    }
    {
        ScopedEnv browser("BROWSER", "broken-browser:missing-browser");
        EXPECT_EQ(ui::LaunchBrowser("https://d.example/"), ui::kOpenNoOpener);
    }
    ScopedEnv browser("BROWSER", "missing-browser:broken-browser");
    EXPECT_EQ(ui::LaunchBrowser("https://d.example/"), 1);
}

TEST_F(BrowserLaunchTest, AddressesThatWouldBeReadAsOptionsAreRefused)
{
    AddProgram("xdg-open", 0);
    EXPECT_EQ(ui::LaunchBrowser("--manual"), ui::kOpenNoOpener);
    EXPECT_EQ(ui::LaunchBrowser(std::string("https://a\0b", 11)), ui::kOpenNoOpener);
    EXPECT_FALSE(fs::exists(m_dir / "xdg-open.arg"));
}

TEST_F(BrowserLaunchTest, AnOpenerStillRunningCountsAsSuccessAndIsReaped)
{
    AddProgram("xdg-open", 1, /*sleepSeconds=*/1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ui::LaunchBrowser("https://c.example/", 200ms), ui::kOpenSucceeded);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms);
    // Once it has ended, no child of this process is left as a zombie.
    std::this_thread::sleep_for(1500ms);
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string status = ReadFile(entry.path() / "status");
        if (status.find("\nPPid:\t" + std::to_string(::getpid()) + "\n") != std::string::npos) {
            EXPECT_EQ(status.find("State:\tZ"), std::string::npos) << entry.path();
        }
    }
}

} // namespace
