#include "settings/profile.h"
#include "settings/tests/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace settings {
namespace {

using testing::TempFolder;

TEST(SettingsPath, BesideTheExecutableWhenItsFolderIsWritable)
{
    TempFolder folder;
    EXPECT_EQ(SettingsPath(""), "");
    EXPECT_EQ(SettingsPath(folder.File("vantrel")), folder.File("vantrel.ini"));
    EXPECT_EQ(ExecutablePath().substr(0, 1), "/");
}

TEST(SettingsPath, FallsBackToTheUsersConfigFolder)
{
    TempFolder home;
    const std::string unusable = home.File("no/such/bin/vantrel");
    const char* oldHome = std::getenv("HOME");
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedHome = oldHome ? oldHome : "", savedConfig = oldConfig ? oldConfig : "";
    ::setenv("XDG_CONFIG_HOME", home.File("xdg").c_str(), 1);
    EXPECT_EQ(SettingsPath(unusable), home.File("xdg/vantrel/vantrel.ini"));
    ::setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
    ::setenv("HOME", home.path().c_str(), 1);
    EXPECT_EQ(SettingsPath(unusable), home.File(".config/vantrel/vantrel.ini"));
    if (oldConfig)
        ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    if (oldHome)
        ::setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
} // namespace settings
