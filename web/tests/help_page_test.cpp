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
    const web::HelpPlace place{base_, fs::path("runtime") / "vantrel" / "help"};
    const auto result = web::WriteHelpPage(place);
    const fs::path folder = place.Folder();
    ASSERT_TRUE(result.address);
    EXPECT_EQ(*result.address, web::FileUrl(folder / "VANTREL.HTML"));
    EXPECT_EQ(result.reason, "");
    EXPECT_EQ(ModeOf(base_ / "runtime"), 0700u);
    EXPECT_EQ(ModeOf(folder), 0700u);
    const std::string page = ReadAll(folder / "VANTREL.HTML");
    EXPECT_EQ(page, res::EmbeddedText("VANTREL.HTML"));
    EXPECT_NE(page.find("<title>Vantrel HELP</title>"), std::string::npos);
    EXPECT_EQ(ReadAll(folder / "vantrel-logo.svg"), res::EmbeddedText("vantrel-logo.svg"));
    EXPECT_EQ(ModeOf(folder / "VANTREL.HTML") & 0077, 0u);
    // Nothing else is left behind: no temporary files.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    // The page says what the sender does: 11 re-sends, 12 writes in all.
    EXPECT_NE(page.find("up to 11 times"), std::string::npos);
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

    ASSERT_TRUE(web::WriteHelpPage({base_, "help"}).address);
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(ReadAll(victim), "keep me");
    EXPECT_FALSE(fs::is_symlink(folder / "VANTREL.HTML"));
    EXPECT_EQ(ReadAll(folder / "VANTREL.HTML"), res::EmbeddedText("VANTREL.HTML"));
    EXPECT_EQ(ReadAll(folder / "vantrel-logo.svg"), res::EmbeddedText("vantrel-logo.svg"));
}

TEST_F(HelpPageWriter, AFolderThatIsNotSafeGivesWayToAFreshPrivateOneAndIsNamed)
{
    // A link anywhere below the base: the page goes elsewhere, once per process.
    fs::create_directory(base_ / "elsewhere");
    fs::create_directory_symlink(base_ / "elsewhere", base_ / "vantrel");
    const auto linked = web::WriteHelpPage({base_});
    ASSERT_TRUE(linked.address);
    EXPECT_EQ(linked.refused, base_ / "vantrel");
    EXPECT_EQ(linked.reason, "it is a symbolic link");
    EXPECT_EQ(linked.folder.parent_path(), base_);
    EXPECT_EQ(ModeOf(linked.folder), 0700u);
    EXPECT_TRUE(fs::is_empty(base_ / "elsewhere"));
    EXPECT_EQ(web::HelpRefusalText(linked), "The folder " + (base_ / "vantrel").string() +
                                                " is not used for the help page: it is a symbolic link.\n\n"
                                                "The page is opened from " +
                                                linked.folder.string() + " instead.");
    EXPECT_EQ(web::WriteHelpPage({base_}).folder, linked.folder);

    // Someone else's folder (only root can make one here).
    fs::remove(base_ / "vantrel");
    fs::create_directories(base_ / "vantrel" / "help");
    if (::geteuid() == 0 && ::chown((base_ / "vantrel" / "help").c_str(), 4242, 4242) == 0) {
        const auto foreign = web::WriteHelpPage({base_});
        EXPECT_EQ(foreign.refused, base_ / "vantrel" / "help");
        EXPECT_EQ(foreign.reason, "it belongs to another user");
        EXPECT_EQ(foreign.folder, linked.folder);
    }

    // A base others can write to: nothing is written, and the box says why.
    ::chmod(base_.c_str(), 0777);
    const auto open = web::WriteHelpPage({base_});
    EXPECT_FALSE(open.address);
    EXPECT_EQ(web::HelpRefusalText(open),
              "The folder " + base_.string() + " is not used for the help page: others can write to it.");
    std::ofstream(base_ / "file") << "x";
    EXPECT_FALSE(web::WriteHelpPage({base_ / "file"}).address);
    EXPECT_FALSE(web::WriteHelpPage({"relative"}).address);
}

TEST(HelpFolder, RuntimeFolderFirstThenTheCache)
{
    EXPECT_EQ(web::HelpFolder("/run/user/1000", "/c", "/home/u")->Folder(), fs::path("/run/user/1000/vantrel/help"));
    EXPECT_EQ(web::HelpFolder(nullptr, "/c", "/home/u")->Folder(), fs::path("/c/vantrel/help"));
    EXPECT_EQ(web::HelpFolder("", nullptr, "/home/u")->Folder(), fs::path("/home/u/.cache/vantrel/help"));
    EXPECT_FALSE(web::HelpFolder("relative", "also", nullptr));
}

TEST(HelpFolder, FileUrlEncodesEveryUnsafeByte)
{
    EXPECT_EQ(web::FileUrl("/run/user/1000/vantrel/help/VANTREL.HTML"),
              "file:///run/user/1000/vantrel/help/VANTREL.HTML");
    EXPECT_EQ(web::FileUrl("/a b/caf\xE9#?%.html"), "file:///a%20b/caf%E9%23%3F%25.html");
}

} // namespace
