#pragma once

namespace ui_wx {

// The toolkit's own reports never reach the user as boxes: a failed
// assertion inside wx (Debian builds it with assertions on) and wx's log
// messages are written to stderr, and the program goes on.
void ReportToolkitProblemsOnStderr();

// The text that begins each failed assertion's line on stderr.
inline constexpr const char* kAssertionReport = "vantrel: toolkit assertion failed: ";

} // namespace ui_wx
