#pragma once

#include "ui/dialog_template.h"
#include "ui/message.h"
#include "ui/window_impl.h"
#include "ui_wx/system_menu.h"
#include "ui_wx/tick_timer.h"
#include "ui_wx/web_view.h"

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <wx/dialog.h>

namespace ui {
class Dialog;
class WebViewClient;
} // namespace ui

namespace ui_wx {

// A dialog's window on wxWidgets: a resizable wxDialog holding the
// template's controls at their template positions. It carries out the
// framework's window operations and turns what the user does into the
// dialog's messages. Changes the program makes itself (checking a box,
// selecting a row, setting a text) never come back as notifications.
class WxWindow final : public ui::WindowImpl {
public:
    WxWindow(ui::Dialog& dialog, wxWindow* owner);
    ~WxWindow() override;
    WxWindow(const WxWindow&) = delete;
    WxWindow& operator=(const WxWindow&) = delete;

    wxDialog& Frame() { return *m_frame; }
    // The wx control of a template identifier, for code that puts its own
    // widget in a control's place; null for unknown identifiers.
    wxWindow* Control(int id) const;

    // From now on, what happens in the window reaches the dialog.
    void BeginDelivery();
    // Gives the focus to the first enabled, visible tab stop.
    void FocusFirstTabStop();
    // Shows the window centred and serves it until EndDialog; returns
    // the result EndDialog was given. Returns at once if the dialog ended
    // before it was shown.
    int ShowModal();
    void StopTimers();
    // The system asks the program to quit: the dialog gets the quit request.
    void RequestQuit();

    // --- ui::WindowImpl ----------------------------------------------------
    std::string GetText(int id) const override;
    void SetText(int id, std::string_view text) override;
    void Enable(int id, bool enabled) override;
    bool IsEnabled(int id) const override;
    void Show(int id, bool visible) override;
    bool IsVisible(int id) const override;
    void SetFocus(int id) override;
    int GetFocus() const override;
    ui::Rect GetRect(int id) const override;
    void Move(int id, const ui::Rect& rect) override;
    int GetCheck(int id) const override;
    void SetCheck(int id, int state) override;
    void ResetContent(int id) override;
    int AddString(int id, std::string_view text) override;
    int GetCount(int id) const override;
    std::string GetItemText(int id, int row) const override;
    int GetCurSel(int id) const override;
    void SetCurSel(int id, int row) override;
    int GetLimitText(int id) const override;
    void SetLimitText(int id, int limit) override;
    void SetSel(int id, int start, int end) override;
    void ReplaceSel(int id, std::string_view text) override;
    void ScrollCaret(int id) override;
    void SetRange(int id, int lower, int upper) override;
    void SetPos(int id, int pos) override;
    int GetPos(int id) const override;
    void SetBitmap(int id, std::span<const char* const> xpm) override;
    bool CreateWebView(int id, ui::WebViewClient& client) override;
    void Navigate(int id, std::string_view url, std::chrono::milliseconds answerWithin) override;
    ui::Rect GetClientRect() const override;
    void SetTitle(std::string_view text) override;
    std::string GetTitle() const override;
    void SetIcon(std::span<const char* const> xpm) override;
    void SetTimer(unsigned id, unsigned periodMs) override;
    void KillTimer(unsigned id) override;
    using WindowImpl::AppendSystemMenuEntry;
    bool AppendSystemMenuEntry(unsigned commandId, std::string_view text, bool separated, bool checkable) override;
    void SetSystemMenuEntryState(unsigned commandId, bool enabled, bool checked) override;
    void EndDialog(int result) override;
    void DialogDeleted() override { m_dialog = nullptr; }
    void MakeLink(int id, bool underlined, ui::LinkListener* listener) override;
    void SetTextColour(int id, ui::COLORREF colour) override;
    void SetToolTip(int id, std::string_view text) override;
    ui::Size GetTextExtent(int id) const override;
    bool IsMouseOver(int id) const override;

private:
    struct ControlState {
        const ui::ControlTemplate* tmpl = nullptr;
        wxWindow* window = nullptr;
        std::string caption; // what GetText answers for an image button
        int limit = 0;       // edits: the most characters the box takes
        int rangeLower = 0;  // progress bars
        int rangeUpper = 100;
        int pos = 0;
        ui::WebViewClient* webClient = nullptr; // set once the control is a web control
    };

    void CreateControls();
    void TieLabels();
    void BindControl(int id, wxWindow& window, ui::ControlKind kind);
    void BindWindowEvents();
    ControlState* Find(int id);
    const ControlState* Find(int id) const;
    int IdOf(const wxWindow* window) const;

    void Deliver(const ui::Message& message);
    void OnCharHook(wxKeyEvent& event);
    void OnCloseBox(wxCloseEvent& event);
    void OnSized(wxSizeEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void ShowSystemMenu(bool atPointer);
    void TypeNewLine(int id);
    void ReplaceSelection(ControlState& state, const wxString& text);

    // The pane (wx_window_pane.cpp).
    // Shows an address in a web control's page view (made on first use in
    // the place of the control's placeholder): an embedded page at once, a
    // web page once fetched.
    void ShowInPane(ControlState& state, std::string_view url, std::chrono::milliseconds answerWithin);
    // Puts the page view in the place of a web control's placeholder.
    void ReplacePaneView(ControlState& state, wxWindow& view);
    // The client a web control's views report to, while the dialog lives.
    WebClientFinder PaneClient(const ControlState& state);
    void ShowPendingAddress();

    ui::Dialog* m_dialog;
    const ui::DialogTemplate& m_template;
    wxDialog* m_frame;
    std::map<int, ControlState> m_controls;
    std::vector<wxWindow*> m_created; // one per template entry, in template order
    // A web control's address waits until the window has been painted once,
    // so the first paint never waits for the pane.
    struct PendingAddress {
        int id;
        std::string url;
        std::chrono::milliseconds answerWithin;
    };
    std::optional<PendingAddress> m_pendingAddress;
    bool m_painted = false;
    std::map<unsigned, std::unique_ptr<TickTimer>> m_timers;
    SystemMenu m_systemMenu;
    wxSize m_lastClientSize;
    bool m_delivering = false;
    bool m_ended = false;
    int m_result = 0;
    int m_quiet = 0; // > 0 while the program itself changes a control
};

} // namespace ui_wx
