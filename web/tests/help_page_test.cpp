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
        m_base = pattern;
    }
    void TearDown() override { fs::remove_all(m_base); }

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

    fs::path m_base;
};

TEST_F(HelpPageWriter, WritesThePageAndImagesIntoAPrivateFolder)
{
    const web::HelpPlace place{m_base, fs::path("runtime") / "vantrel" / "help"};
    const auto result = web::WriteHelpPage(place);
    const fs::path folder = place.Folder();
    ASSERT_TRUE(result.address);
    EXPECT_EQ(*result.address, web::FileUrl(folder / "VANTREL.HTML"));
    EXPECT_EQ(result.refusal.words(), "");
    EXPECT_EQ(ModeOf(m_base / "runtime"), 0700u);
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
    const fs::path folder = m_base / "help";
    fs::create_directory(folder);
    ::chmod(folder.c_str(), 0777); // someone widened it: made private again
    const fs::path victim = m_base / "victim.txt";
    std::ofstream(victim) << "keep me";
    fs::create_symlink(victim, folder / "VANTREL.HTML");
    std::ofstream(folder / "vantrel-logo.svg") << "old";

    ASSERT_TRUE(web::WriteHelpPage({m_base, "help"}).address);
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(ReadAll(victim), "keep me");
    EXPECT_FALSE(fs::is_symlink(folder / "VANTREL.HTML"));
    EXPECT_EQ(ReadAll(folder / "VANTREL.HTML"), res::EmbeddedText("VANTREL.HTML"));
    EXPECT_EQ(ReadAll(folder / "vantrel-logo.svg"), res::EmbeddedText("vantrel-logo.svg"));
}

TEST_F(HelpPageWriter, AFolderThatIsNotSafeGivesWayToAFreshPrivateOneAndIsNamed)
{
    // A link anywhere below the base: the page goes elsewhere, once per process.
    fs::create_directory(m_base / "elsewhere");
    fs::create_directory_symlink(m_base / "elsewhere", m_base / "vantrel");
    const auto linked = web::WriteHelpPage({m_base});
    ASSERT_TRUE(linked.address);
    EXPECT_EQ(linked.refusal.what(), (m_base / "vantrel").string());
    EXPECT_EQ(linked.refusal.words(), "it is a symbolic link");
    EXPECT_EQ(linked.folder.parent_path(), m_base);
    EXPECT_EQ(ModeOf(linked.folder), 0700u);
    EXPECT_TRUE(fs::is_empty(m_base / "elsewhere"));
    EXPECT_EQ(web::HelpRefusalText(linked), "The folder " + (m_base / "vantrel").string() +
                                                " is not used for the help page: it is a symbolic link.\n\n"
                                                "The page is opened from " +
                                                linked.folder.string() + " instead.");
    EXPECT_EQ(web::WriteHelpPage({m_base}).folder, linked.folder);

    // Someone else's folder (only root can make one here).
    fs::remove(m_base / "vantrel");
    fs::create_directories(m_base / "vantrel" / "help");
    if (::geteuid() == 0 && ::chown((m_base / "vantrel" / "help").c_str(), 4242, 4242) == 0) {
        const auto foreign = web::WriteHelpPage({m_base});
        EXPECT_EQ(foreign.refusal.what(), (m_base / "vantrel" / "help").string());
        EXPECT_EQ(foreign.refusal.words(), "it belongs to another user");
        EXPECT_EQ(foreign.folder, linked.folder);
    }

    // A base others can write to: nothing is written, and the box says why.
    ::chmod(m_base.c_str(), 0777);
    const auto open = web::WriteHelpPage({m_base});
    EXPECT_FALSE(open.address);
    EXPECT_EQ(web::HelpRefusalText(open),
              "The folder " + m_base.string() + " is not used for the help page: others can write to it.");
    std::ofstream(m_base / "file") << "x";
    EXPECT_FALSE(web::WriteHelpPage({m_base / "file"}).address);
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
