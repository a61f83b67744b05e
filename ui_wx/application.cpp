#include "ui_wx/application.h"

#include "ui/backend.h"
#include "ui_wx/compact_style.h"
#include "ui_wx/quit_signals.h"
#include "ui_wx/toolkit_reports.h"
#include "ui_wx/wx_backend.h"

#include <cstdio>
#include <cstdlib>

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

// Starts the toolkit on the display; false when it cannot.
//
// GTK looks through the display's GL visuals when it opens the display,
// which loads the system's GL driver (with a software renderer, a whole
// compiler: 25 MB and more). Nothing here draws with GL, so that search is
// turned off while the toolkit starts, unless the user chose otherwise;
// programs started later (the user's browser) do not inherit the choice.
bool StartToolkit(int& argc, char** argv)
{
    const bool chosen = std::getenv("GDK_GL") != nullptr;
    if (!chosen)
        ::setenv("GDK_GL", "disable", 0);
    const bool started = wxEntryStart(argc, argv);
    if (!chosen)
        ::unsetenv("GDK_GL");
    return started;
}

} // namespace

int RunApplication(int argc, char** argv, const std::function<void()>& initInstance)
{
    ReportToolkitProblemsOnStderr();
    wxApp::SetInstance(new VantrelApp);
    if (!StartToolkit(argc, argv)) {
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
