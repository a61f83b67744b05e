#include "ui/browser_launch.h"

#include "ui/open_address.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ui {

namespace {

// xdg-open's status for "no method available for opening" the address.
constexpr int kXdgOpenNoMethod = 3;
constexpr std::chrono::milliseconds kPollStep{10};

// Starts a command (its program looked up on PATH); nothing when it cannot
// be started.
std::optional<pid_t> Spawn(const std::vector<std::string>& command)
{
    if (command.empty())
        return std::nullopt;
    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0)
        return std::nullopt;
    // The opener starts with no blocked signals and with SIGPIPE at its
    // default, whatever this process has set for itself.
    sigset_t none;
    sigset_t defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    if (error != 0)
        return std::nullopt;
    return pid;
}

// The exit status of the child, or nothing while it still runs after `wait`.
std::optional<int> WaitFor(pid_t pid, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            if (WIFEXITED(status))
                return WEXITSTATUS(status);
            return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
        }
        if (done < 0 && errno != EINTR)
            return 0; // someone else reaped it: nothing says it failed
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(kPollStep);
    }
}

// Collects the child's status whenever it ends, so it never lingers as a zombie.
void ReapLater(pid_t pid)
{
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

// The result code of an opener that was started.
int Finish(pid_t pid, std::chrono::milliseconds wait, bool isXdgOpen)
{
    const std::optional<int> status = WaitFor(pid, wait);
    if (!status) {
        ReapLater(pid);
        return kOpenSucceeded;
    }
    if (*status == 0)
        return kOpenSucceeded;
    if (isXdgOpen && *status == kXdgOpenNoMethod)
        return kOpenNoHandler;
    return *status;
}

} // namespace

namespace {

std::vector<std::string> BrowserEntries()
{
    std::vector<std::string> entries;
    const char* value = std::getenv("BROWSER");
    if (!value)
        return entries;
    const std::string list(value);
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        if (end > start)
            entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

} // namespace

int LaunchBrowser(std::string_view address, std::chrono::milliseconds wait)
{
    // A NUL byte would cut the argument short, and a leading '-' would make
    // the opener (or a browser) read the address as an option.
    if (address.find('\0') != std::string_view::npos || (!address.empty() && address.front() == '-'))
        return kOpenNoOpener;
    int result = kOpenNoOpener;
    if (const auto pid = Spawn({"xdg-open", std::string(address)})) {
        result = Finish(*pid, wait, /*isXdgOpen=*/true);
        if (OpenSucceeded(result))
            return result;
    }
    for (const std::string& entry : BrowserEntries()) {
        const auto pid = Spawn(BrowserCommand(entry, address));
        result = pid ? Finish(*pid, wait, /*isXdgOpen=*/false) : kOpenNoOpener;
        if (OpenSucceeded(result))
            return result;
    }
    return result;
}

} // namespace ui
