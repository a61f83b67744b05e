#include "ui_wx/toolkit_reports.h"

#include <cstdio>

#include <wx/debug.h>
#include <wx/log.h>

namespace ui_wx {

namespace {

void LogAssertion(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    std::fprintf(stderr, "%s%s(%d) in %s: %s%s%s\n", kAssertionReport, file.utf8_str().data(), line,
                 func.utf8_str().data(), cond.utf8_str().data(), msg.empty() ? "" : ": ", msg.utf8_str().data());
}

} // namespace

void ReportToolkitProblemsOnStderr()
{
    wxSetAssertHandler(LogAssertion);
    delete wxLog::SetActiveTarget(new wxLogStderr);
}

} // namespace ui_wx
