#pragma once

#include <functional>

namespace ui_wx {

// Runs the program on wxWidgets: starts the toolkit, makes dialog controls
// compact, installs the wx window-system back end, calls initInstance (which
// builds the main dialog and runs it), then tears everything down. Returns
// 0, or 1 when the toolkit cannot start (no display). Meanwhile SIGTERM,
// SIGINT and SIGHUP reach the dialogs as quit requests (QuitSignals), and
// the toolkit's assertions and log messages go to stderr, never to a box.
int RunApplication(int argc, char** argv, const std::function<void()>& initInstance);

} // namespace ui_wx
