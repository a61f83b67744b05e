#pragma once

#include "ui/colour.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

class Dialog;

// Application-wide services of a window system. Exactly one back end is
// current; the program installs the wx one, tests install the headless one.
class Backend {
public:
    virtual ~Backend() = default;

    // Creates the dialog's window from its template, runs OnInitDialog, and
    // serves its messages until EndDialog; then destroys the window (the
    // dialog gets Msg::Destroy) and returns the result. The headless back end
    // returns once the dialog is initialised and lets the test drive it.
    virtual int RunModal(Dialog& dialog) = 0;

    // A modal box with one OK button and an exclamation icon. Returns when the
    // user dismisses it; timer ticks of open dialogs are served meanwhile.
    virtual void MessageBox(std::string_view caption, std::string_view text) = 0;

    // The file-open dialog, showing all files; several may be chosen. The
    // full path of the one file chosen, or the folder when several were
    // (file names as the system spells them, bytes kept); nothing when the
    // user cancels.
    virtual std::optional<std::string> ChooseFileToOpen(std::string_view initialPath) = 0;

    // The file-save dialog, opening in the initial path's folder with its
    // name filled in, and asking before it replaces a file. The full path
    // chosen; nothing when the user cancels.
    virtual std::optional<std::string> ChooseFileToSave(std::string_view initialPath) = 0;

    // Opens an address in the user's browser and answers with a result code
    // of ui/open_address.h (above 32 on success). By default the system's
    // opener runs (LaunchBrowser).
    virtual int OpenAddress(std::string_view address);

    // The sound that goes with a warning box (exclamation).
    virtual void MessageBeep() {}

    // The colour of selected items and of links under the mouse.
    virtual COLORREF HighlightColour() const { return Rgb(0x35, 0x84, 0xE4); }

    // Blocks the thread; no message, tick or painting is served meanwhile.
    virtual void Sleep(unsigned ms) = 0;

    // Runs task on the user-interface thread soon. Safe from any thread.
    virtual void Post(std::function<void()> task) = 0;
};

Backend& CurrentBackend();
void SetBackend(Backend* backend);

// The application title: the executable's file name without its extension,
// as it was when the title was first needed. The program works it out at
// start-up (InitApplicationTitle), so replacing the executable file while
// the program runs (an upgrade, a rebuild) leaves every caption as it was.
void InitApplicationTitle();
const std::string& ApplicationTitle();

// The framework's application-wide message box: the title as caption.
void AfxMessageBox(std::string_view text);

} // namespace ui
