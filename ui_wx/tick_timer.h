#pragma once

#include <functional>

#include <wx/timer.h>

namespace ui_wx {

// One window timer with the platform dialog's rules: a tick every period,
// restarting with a new period when set again, ticks that fall due while
// the thread is busy coming as one, and no missed periods made up.
//
// Each tick re-arms the timer before the tick is delivered, so the timer
// goes on ticking while its own handler shows a modal box (the box's nested
// loop serves it), as other timers do; a handler that stops or restarts the
// timer has the last word.
class TickTimer : public wxTimer {
public:
    explicit TickTimer(std::function<void()> onTick) : m_onTick(std::move(onTick)) {}

    void Run(unsigned periodMs);
    void Halt();

private:
    void Notify() override;

    std::function<void()> m_onTick;
    int m_periodMs = 0;
};

} // namespace ui_wx
