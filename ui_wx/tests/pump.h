#pragma once
// Lets the toolkit work for a while in a test: timers, posted tasks,
// drawing.

#include <chrono>
#include <thread>

#include <gtk/gtk.h>
#include <wx/app.h>

namespace ui_wx_test {

inline void Pump(int ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        wxTheApp->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < until);
}

} // namespace ui_wx_test
