#pragma once

#include <cstdint>

namespace ui {

// Command identifiers the dialog manager sends for Enter and Escape.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Notifications a control sends to its dialog.
enum class Notify {
    Clicked,   // BN_CLICKED: a button or check box was clicked
    SelChange, // CBN_SELCHANGE: the user chose another list row
    Change,    // EN_CHANGE: the text of an edit changed
};

// The window messages the framework delivers to a dialog.
enum class Msg {
    Command,      // id = control or command identifier, notify = notification
    Timer,        // id = timer identifier
    Close,        // the close box, Alt+F4, the window menu's Close
    Destroy,      // the window is going away
    Size,         // the client area changed size
    SysCommand,   // wParam = command identifier (16 = About)
    DeviceChange, // wParam = event code (0x8000 arrival, 0x8004 removal)
    Help,         // F1
    Paint,
    App, // the program's own, posted to itself (from other threads too)
    // The system asks the program to quit (a termination signal: kill,
    // Ctrl+C in its terminal, the session ending). By default the close
    // message, as if the user had pressed the close box.
    QuitRequest,
};

struct Message {
    Msg kind;
    int id = 0;
    Notify notify = Notify::Clicked;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// System commands.
inline constexpr unsigned SC_CLOSE = 0xF060;
inline constexpr unsigned SC_MINIMIZE = 0xF020;

// Device-change events.
inline constexpr unsigned DBT_DEVICEARRIVAL = 0x8000;
inline constexpr unsigned DBT_DEVICEREMOVECOMPLETE = 0x8004;

} // namespace ui
