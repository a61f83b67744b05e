#include "ui_wx/quit_signals.h"

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

#include <glib-unix.h>

namespace ui_wx {

namespace {

constexpr std::array<int, 3> kQuitSignals = {SIGTERM, SIGINT, SIGHUP};

// Shared with the signal handler, which may run on any thread: a flag of
// the type made for it and the pipe's descriptors. The pipe is made once
// and kept for the life of the process, so a handler never writes into a
// descriptor that has been closed and reused.
volatile std::sig_atomic_t g_quitRequested = 0;
int g_wakeRead = -1;
int g_wakeWrite = -1;
std::array<struct sigaction, kQuitSignals.size()> g_previous{};
std::array<bool, kQuitSignals.size()> g_caught{};

// Only async-signal-safe calls in here: write, sigaction, raise.
extern "C" void OnQuitSignal(int signo)
{
    if (g_quitRequested) {
        // Asked again while closing: end now, as the signal would have.
        struct sigaction byDefault {};
        byDefault.sa_handler = SIG_DFL;
        ::sigaction(signo, &byDefault, nullptr);
        ::raise(signo); // blocked until this handler returns, then fatal
        return;
    }
    g_quitRequested = 1;
    const int saved = errno;
    const char byte = 'q';
    [[maybe_unused]] const ssize_t ignored = ::write(g_wakeWrite, &byte, 1);
    errno = saved;
}

gboolean OnWake(gint fd, GIOCondition, gpointer data)
{
    char bytes[16];
    while (::read(fd, bytes, sizeof bytes) > 0) {
    }
    (*static_cast<std::function<void()>*>(data))();
    return G_SOURCE_CONTINUE;
}

bool MakeWakePipe()
{
    if (g_wakeRead >= 0)
        return true;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    g_wakeRead = fds[0];
    g_wakeWrite = fds[1];
    return true;
}

} // namespace

QuitSignals::QuitSignals(std::function<void()> onQuit) : m_onQuit(std::move(onQuit))
{
    if (!MakeWakePipe())
        return;
    char stale[16];
    while (::read(g_wakeRead, stale, sizeof stale) > 0) {
    }
    g_quitRequested = 0;
    m_source = g_unix_fd_add(g_wakeRead, G_IO_IN, OnWake, &m_onQuit);

    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signo : kQuitSignals)
        sigaddset(&action.sa_mask, signo);
    for (std::size_t i = 0; i < kQuitSignals.size(); ++i) {
        // A signal ignored by whoever started the program (nohup, a shell
        // starting it in the background) stays ignored.
        struct sigaction current {};
        ::sigaction(kQuitSignals[i], nullptr, &current);
        g_caught[i] = current.sa_handler != SIG_IGN;
        if (g_caught[i])
            ::sigaction(kQuitSignals[i], &action, &g_previous[i]);
    }
}

QuitSignals::~QuitSignals()
{
    if (m_source == 0)
        return;
    for (std::size_t i = 0; i < kQuitSignals.size(); ++i)
        if (g_caught[i])
            ::sigaction(kQuitSignals[i], &g_previous[i], nullptr);
    g_source_remove(m_source);
}

} // namespace ui_wx
