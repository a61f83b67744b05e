#include "windows/hotplug_window.h"

#include "win32/handle.h"

#include <dbt.h>

namespace win32_com {

namespace {

constexpr const wchar_t* kWindowClass = L"VantrelHotplugWindow";

// The device interface class of COM ports (GUID_DEVINTERFACE_COMPORT).
constexpr GUID kComPortInterface = {0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};

} // namespace

HotplugWindow::HotplugWindow(std::function<void(std::uint32_t)> onChange) : m_onChange(std::move(onChange))
{
    const win32::Handle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    m_thread = std::thread([this, event = ready.get()] { Run(event); });
    if (ready.valid())
        ::WaitForSingleObject(ready.get(), INFINITE);
}

HotplugWindow::~HotplugWindow()
{
    if (m_threadId != 0)
        ::PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
    m_thread.join();
}

LRESULT CALLBACK HotplugWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)) {
        auto* self = reinterpret_cast<HotplugWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && self->m_onChange)
            self->m_onChange(wParam == DBT_DEVICEARRIVAL ? serial::kDeviceArrived : serial::kDeviceRemoved);
        return TRUE;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void HotplugWindow::Run(HANDLE ready)
{
    // The queue exists once the thread has called a message function.
    MSG message;
    ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    m_threadId = ::GetCurrentThreadId();

    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &HotplugWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassExW(&windowClass); // fails harmlessly when registered before
    const HWND window =
        ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    HDEVNOTIFY notification = nullptr;
    if (window != nullptr) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = kComPortInterface;
        notification = ::RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    if (ready != nullptr)
        ::SetEvent(ready);

    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    if (notification != nullptr)
        ::UnregisterDeviceNotification(notification);
    if (window != nullptr)
        ::DestroyWindow(window);
}

} // namespace win32_com
