#include "ui_wx/application.h"

#include "ui/backend.h"
#include "ui_wx/compact_style.h"
#include "ui_wx/quit_signals.h"
#include "ui_wx/toolkit_reports.h"
#include "ui_wx/wx_backend.h"

#include <cstdio>

#include <wx/app.h>
#include <wx/init.h>

namespace ui_wx {

namespace {

// The program has no main loop of its own: its one window runs modally.
class VantrelApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// Leaves the toolkit in order whatever initInstance does.
class ToolkitSession {
public:
    ToolkitSession() = default;
    ~ToolkitSession()
    {
        ui::SetBackend(nullptr);
        if (wxTheApp)
            wxTheApp->OnExit();
        wxEntryCleanup();
    }
    ToolkitSession(const ToolkitSession&) = delete;
    ToolkitSession& operator=(const ToolkitSession&) = delete;
};

} // namespace

int RunApplication(int argc, char** argv, const std::function<void()>& initInstance)
{
    ReportToolkitProblemsOnStderr();
    wxApp::SetInstance(new VantrelApp);
    if (!wxEntryStart(argc, argv)) {
        std::fputs("vantrel: cannot start the window system (is DISPLAY set?)\n", stderr);
        return 1;
    }
    ToolkitSession session;
    if (!wxTheApp->CallOnInit())
        return 1;
    // Starting the toolkit may have put its own log target (message boxes)
    // in place of ours.
    ReportToolkitProblemsOnStderr();
    InstallCompactStyle();
    WxBackend backend;
    ui::SetBackend(&backend);
    // kill, Ctrl+C in the terminal and the session's end close the window
    // as its close box does.
    const QuitSignals quitSignals([&backend] { backend.RequestQuit(); });
    initInstance();
    return 0;
}

} // namespace ui_wx
