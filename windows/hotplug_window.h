#pragma once

#include <cstdint>
#include <functional>
#include <thread>

#include "serial/device.h"
#include "windows/win32.h"

namespace win32_com {

// A hidden message-only window on a thread of its own, registered for
// arrivals and removals of COM port devices; each WM_DEVICECHANGE arrival
// or removal calls the function (from that thread). The destructor closes
// the window and joins the thread.
class HotplugWindow : public serial::HotplugWatch {
public:
    explicit HotplugWindow(std::function<void(std::uint32_t)> onChange);
    ~HotplugWindow() override;

    HotplugWindow(const HotplugWindow&) = delete;
    HotplugWindow& operator=(const HotplugWindow&) = delete;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Run(HANDLE ready);

    // Set before the thread starts (the function) or before `ready` is
    // signalled (the thread id), then only read.
    const std::function<void(std::uint32_t)> m_onChange;
    DWORD m_threadId = 0;
    std::thread m_thread;
};

} // namespace win32_com
