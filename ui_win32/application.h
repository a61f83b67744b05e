#pragma once

#include <functional>

namespace ui_win32 {

// Starts the window system on Win32 (common controls, OLE for the hosted
// browser control, the application title from the executable's name),
// installs the Win32 back end, runs initInstance, and leaves everything in
// order afterwards. Returns the process's exit status.
int RunApplication(const std::function<void()>& initInstance);

} // namespace ui_win32
