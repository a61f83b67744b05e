#pragma once

#include "ui/backend.h"

#include <memory>
#include <vector>

#include <wx/event.h>

class wxDialog;
class wxWindow;

namespace ui_wx {

class WxWindow;

// The window-system services on wxWidgets. Runs on the user-interface
// thread, except Post, which any thread may call.
class WxBackend final : public ui::Backend {
public:
    WxBackend();
    ~WxBackend() override;
    WxBackend(const WxBackend&) = delete;
    WxBackend& operator=(const WxBackend&) = delete;

    int RunModal(ui::Dialog& dialog) override;
    void MessageBox(std::string_view caption, std::string_view text) override;
    std::optional<std::string> ChooseFileToOpen(std::string_view initialPath) override;
    std::optional<std::string> ChooseFileToSave(std::string_view initialPath) override;
    void MessageBeep() override;
    ui::COLORREF HighlightColour() const override;
    void Sleep(unsigned ms) override;
    void Post(std::function<void()> task) override;

    // The innermost dialog window being run, or null.
    WxWindow* ActiveWindow() const { return m_running.empty() ? nullptr : m_running.back(); }

    // The system asks the program to quit. Boxes open over the dialogs (a
    // message box, the file chooser) are dismissed as their Cancel would,
    // then the innermost running dialog gets the quit request; when its run
    // has ended, the next one out gets it, up to the outermost.
    void RequestQuit();

private:
    class ModalTracker;

    wxWindow* BoxOwner() const;
    void GoOnQuitting();
    void GoOnQuittingSoon();

    std::vector<WxWindow*> m_running; // nested modal runs, innermost last
    std::vector<wxDialog*> m_modal;   // every wx modal dialog shown, innermost last
    std::unique_ptr<ModalTracker> m_tracker;
    bool m_quitting = false; // a quit request has not reached the outermost dialog yet
    wxEvtHandler m_later;    // the back end's own posted steps, dropped with it
};

} // namespace ui_wx
