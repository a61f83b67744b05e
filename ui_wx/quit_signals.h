#pragma once

#include <functional>

namespace ui_wx {

// Turns SIGTERM, SIGINT and SIGHUP into a call of onQuit on the
// user-interface thread, from the GLib main loop (every wx and GTK loop,
// modal ones too, runs it). The signal handler only writes a byte into a
// pipe whose other end the loop watches. A second signal after the first
// ends the program at once by the signal's default action, for when the
// program cannot close. One watch at a time; the previous dispositions come
// back when it is destroyed.
class QuitSignals {
public:
    explicit QuitSignals(std::function<void()> onQuit);
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // Whether the watch is in place (the pipe could be made).
    bool Active() const { return m_source != 0; }

private:
    std::function<void()> m_onQuit;
    unsigned m_source = 0; // the GLib source watching the pipe
};

} // namespace ui_wx
