// The message-box caption after the executable file has been replaced.
#include "ui/backend.h"
#include "ui_headless/headless_backend.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Set in a copy of this test program started by the test below: the copy
// plays the program whose file is replaced while it runs.
constexpr const char* kProbeVariable = "VANTREL_TITLE_PROBE";

std::string OwnExecutable()
{
    std::string path(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    path.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return path;
}

void RunAsReplacedProgram()
{
    ui::InitApplicationTitle(); // start-up
    const std::string self = OwnExecutable();
    ASSERT_EQ(std::filesystem::path(self).filename(), "title-probe");
    std::filesystem::remove(self);
    std::ofstream(self) << "the next build";

    ui::headless::HeadlessBackend ui;
    ui::AfxMessageBox("Port '' not open");
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].caption, "title-probe");
}

TEST(ApplicationTitle, StaysTheStartUpNameAfterTheExecutableIsReplaced)
{
    if (std::getenv(kProbeVariable)) {
        RunAsReplacedProgram();
        return;
    }
    char pattern[] = "/tmp/vantrel-title-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path dir = pattern;
    const std::string copy = dir / "title-probe";
    std::filesystem::copy_file(OwnExecutable(), copy);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv(kProbeVariable, "1", 1);
        ::execl(copy.c_str(), copy.c_str(), "--gtest_filter=ApplicationTitle.*", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    std::filesystem::remove_all(dir);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the replaced program's caption changed (its output is above)";
}

} // namespace
