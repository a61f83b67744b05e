#include "ui_wx/tick_timer.h"

#include <algorithm>
#include <climits>

namespace ui_wx {

void TickTimer::Run(unsigned periodMs)
{
    m_periodMs = static_cast<int>(std::min<unsigned>(periodMs, INT_MAX));
    Start(m_periodMs, wxTIMER_ONE_SHOT); // Start stops a running timer first
}

void TickTimer::Halt()
{
    Stop();
    m_periodMs = 0;
}

void TickTimer::Notify()
{
    Start(m_periodMs, wxTIMER_ONE_SHOT);
    m_onTick();
}

} // namespace ui_wx
