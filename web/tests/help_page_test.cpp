#include "web/help_page.h"

#include "res/embedded_files.h"

#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class HelpPageWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vantrel-help-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        base_ = pattern;
    }
    void TearDown() override { fs::remove_all(base_); }

    static std::string ReadAll(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static mode_t ModeOf(const fs::path& p)
    {
        struct stat st {};
        ::lstat(p.c_str(), &st);
        return st.st_mode & 07777;
    }

    fs::path base_;
};

TEST_F(HelpPageWriter, WritesThePageAndImagesIntoAPrivateFolder)
{
    const fs::path folder = base_ / "runtime" / "vantrel" / "help";
    const auto url = web::WriteHelpPage(folder);
    ASSERT_TRUE(url);
    EXPECT_EQ(*url, web::FileUrl(folder / "VANTREL.HTML"));
    EXPECT_EQ(ModeOf(folder), 0700u);
    const std::string page = ReadAll(folder / "VANTREL.HTML");
    EXPECT_EQ(page, res::EmbeddedText("VANTREL.HTML"));
    EXPECT_NE(page.find("<title>Vantrel HELP</title>"), std::string::npos);
    EXPECT_EQ(ReadAll(folder / "vantrel-logo.svg"), res::EmbeddedText("vantrel-logo.svg"));
    EXPECT_EQ(ModeOf(folder / "VANTREL.HTML") & 0077, 0u);
    // Nothing else is left behind: no temporary files.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

TEST_F(HelpPageWriter, ReplacesOldFilesAndLinksWithoutFollowingThem)
{
    const fs::path folder = base_ / "help";
    fs::create_directory(folder);
    ::chmod(folder.c_str(), 0777); // someone widened it: made private again
    const fs::path victim = base_ / "victim.txt";
    std::ofstream(victim) << "keep me";
    fs::create_symlink(victim, folder / "VANTREL.HTML");
    std::ofstream(folder / "vantrel-logo.svg") << "old";

    ASSERT_TRUE(web::WriteHelpPage(folder));
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(ReadAll(victim), "keep me");
    EXPECT_FALSE(fs::is_symlink(folder / "VANTREL.HTML"));
    EXPECT_EQ(ReadAll(folder / "VANTREL.HTML"), res::EmbeddedText("VANTREL.HTML"));
    EXPECT_EQ(ReadAll(folder / "vantrel-logo.svg"), res::EmbeddedText("vantrel-logo.svg"));
}

TEST_F(HelpPageWriter, RefusesALinkOrAFileInPlaceOfTheFolder)
{
    fs::create_directory(base_ / "elsewhere");
    fs::create_directory_symlink(base_ / "elsewhere", base_ / "linked");
    EXPECT_FALSE(web::WriteHelpPage(base_ / "linked"));
    EXPECT_TRUE(fs::is_empty(base_ / "elsewhere"));
    std::ofstream(base_ / "file") << "x";
    EXPECT_FALSE(web::WriteHelpPage(base_ / "file"));
    EXPECT_FALSE(web::WriteHelpPage("relative/help"));
}

TEST(HelpFolder, RuntimeFolderFirstThenTheCache)
{
    EXPECT_EQ(web::HelpFolder("/run/user/1000", "/c", "/home/u"), fs::path("/run/user/1000/vantrel/help"));
    EXPECT_EQ(web::HelpFolder(nullptr, "/c", "/home/u"), fs::path("/c/vantrel/help"));
    EXPECT_EQ(web::HelpFolder("", nullptr, "/home/u"), fs::path("/home/u/.cache/vantrel/help"));
    EXPECT_EQ(web::HelpFolder("relative", "also", nullptr), std::nullopt);
}

TEST(HelpFolder, FileUrlEncodesEveryUnsafeByte)
{
    EXPECT_EQ(web::FileUrl("/run/user/1000/vantrel/help/VANTREL.HTML"),
              "file:///run/user/1000/vantrel/help/VANTREL.HTML");
    EXPECT_EQ(web::FileUrl("/a b/caf\xE9#?%.html"), "file:///a%20b/caf%E9%23%3F%25.html");
}

} // namespace
