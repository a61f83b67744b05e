#include "ui_wx/tick_timer.h"

#include <algorithm>
#include <climits>

namespace ui_wx {

void TickTimer::Run(unsigned periodMs)
{
    periodMs_ = static_cast<int>(std::min<unsigned>(periodMs, INT_MAX));
    Start(periodMs_, wxTIMER_ONE_SHOT); // Start stops a running timer first
}

void TickTimer::Halt()
{
    Stop();
    periodMs_ = 0;
}

void TickTimer::Notify()
{
    Start(periodMs_, wxTIMER_ONE_SHOT);
    onTick_();
}

} // namespace ui_wx
