#pragma once

#include "ui/dialog_template.h"
#include "ui/window_impl.h"
#include "ui_win32/win32_api.h"

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace ui {
class Dialog;
}

namespace ui_win32 {

class BrowserPane;

// A dialog's window on Win32: the system's dialog, made by its dialog
// manager from the template built in memory, with the system's own
// controls. It carries out the framework's window operations and turns
// what the user does into the dialog's messages. Changes the program makes
// itself (checking a box, selecting a row, setting a text) never come back
// as notifications.
class Win32Window final : public ui::WindowImpl {
public:
    explicit Win32Window(ui::Dialog& dialog);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Creates the window, runs the dialog's initialisation and serves it
    // until EndDialog; the dialog gets its destroy message while the window
    // still stands. Returns the result EndDialog was given.
    int RunModal(HWND owner);
    HWND Handle() const { return m_hwnd; }

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
    void DialogDeleted() override;
    void MakeLink(int id, bool underlined, ui::LinkListener* listener) override;
    void SetTextColour(int id, ui::COLORREF colour) override;
    void SetToolTip(int id, std::string_view text) override;
    ui::Size GetTextExtent(int id) const override;
    bool IsMouseOver(int id) const override;

private:
    struct Link {
        ui::LinkListener* listener = nullptr;
        COLORREF colour = 0;
        bool hasColour = false;
        bool inside = false;
    };

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog(HWND hwnd);
    void ShowTemplateImages();
    void KeepInWorkArea();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void Deliver(const ui::Message& message);

    // Links (win32_window_link.cpp).
    static LRESULT CALLBACK LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);
    static void DrawLinkFocus(HWND control);
    LRESULT OnLinkMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnLinkColour(HDC dc, HWND control);
    // Tool tips (win32_window_tips.cpp): the tip window, made with the dialog.
    void CreateTips();

    HWND Item(int id) const;
    const ui::ControlTemplate* TemplateOf(int id) const;
    bool IsEdit(int id) const;
    bool IsList(int id) const;

    ui::Dialog* m_dialog;
    const ui::DialogTemplate& m_template;
    HWND m_hwnd = nullptr;
    HWND m_tips = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    HFONT m_linkFont = nullptr;
    std::map<int, HBITMAP> m_bitmaps;
    std::vector<HICON> m_icons; // the template's pictures
    std::map<int, Link> m_links;
    std::map<int, std::unique_ptr<BrowserPane>> m_browsers; // the web views, by identifier
    std::set<unsigned> m_timers;
    bool m_delivering = false;
    bool m_ended = false;
    int m_result = 0;
    int m_quiet = 0; // > 0 while the program itself changes a control
};

} // namespace ui_win32
