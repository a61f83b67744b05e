#include "ui_win32/application.h"

#include "ui/backend.h"
#include "ui_win32/win32_backend.h"

#include <ole2.h>

namespace ui_win32 {

namespace {

// Leaves the back end uninstalled whatever initInstance does.
class BackendSession {
public:
    explicit BackendSession(ui::Backend& backend) { ui::SetBackend(&backend); }
    ~BackendSession() { ui::SetBackend(nullptr); }
    BackendSession(const BackendSession&) = delete;
    BackendSession& operator=(const BackendSession&) = delete;
};

// The window hosts the system's browser control, which needs OLE on the
// user-interface thread for the whole run.
class OleSession {
public:
    OleSession() : m_ok(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleSession()
    {
        if (m_ok)
            ::OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool m_ok;
};

} // namespace

int RunApplication(const std::function<void()>& initInstance)
{
    ui::InitApplicationTitle();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    const OleSession ole;
    Win32Backend backend;
    const BackendSession session(backend);
    initInstance();
    return 0;
}

} // namespace ui_win32
