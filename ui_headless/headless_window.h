#pragma once

#include "ui/dialog_template.h"
#include "ui/edit_rules.h"
#include "ui/message.h"
#include "ui/web_view.h"
#include "ui/window_impl.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {
class Dialog;
}

namespace ui::headless {

class HeadlessBackend;

// A dialog window without a display. It keeps every control's state as the
// platform would, and lets a test act as the user: click, choose, type, press
// keys, close, resize. Everything a user could see can be read back.
class HeadlessWindow : public WindowImpl {
public:
    HeadlessWindow(HeadlessBackend& backend, Dialog& dialog, const DialogTemplate& tmpl);

    // --- What the user does -------------------------------------------------
    void Click(int id);                       // buttons and check boxes; ignored when disabled or hidden
    void Choose(int id, int row);             // picks a list row and notifies the change
    void Type(int id, std::string_view text); // replaces the whole text, as typed
    void TypeAtEnd(int id, std::string_view text);
    void Focus(int id);
    void FocusFirstTabStop();
    void PressEnter(); // in the focused control
    void PressEscape();
    void PressF1();
    void CloseBox();    // the title bar's close button
    void RequestQuit(); // the system asks the program to quit (a signal)
    void ChooseSystemMenu(unsigned commandId);
    void Resize(int clientWidth, int clientHeight);
    // Links: the mouse moves onto or off the control; a click on it (the
    // mouse moves onto it first).
    void HoverLink(int id, bool inside);
    // The mouse moves onto or off the control while a modal box holds it:
    // the control is told nothing.
    void MoveMouseUnseen(int id, bool inside);
    void ClickLink(int id);
    // A web view reports that its latest navigation finished loading and
    // that the document's title is `title` (a failed load, or one that gave
    // no answer within its wait, reports an empty title).
    void FinishLoad(int id, std::string_view title);
    // A page in a web view asks for a new window (a target="_blank" link).
    void RequestNewWindow(int id, std::string_view url);

    // --- What the user sees -------------------------------------------------
    std::string Text(int id) const { return GetText(id); }
    int Check(int id) const { return GetCheck(id); }
    int Selection(int id) const { return GetCurSel(id); }
    std::vector<std::string> Items(int id) const;
    std::pair<int, int> EditSelection(int id) const;
    std::optional<unsigned> TimerPeriod(unsigned id) const;
    const std::vector<std::pair<unsigned, std::string>>& SystemMenu() const { return m_systemMenu; }
    struct MenuEntryState {
        bool enabled = true;
        bool checked = false;
        bool checkable = false;
    };
    std::optional<MenuEntryState> SystemMenuState(unsigned commandId) const;
    bool Ended() const { return m_ended; }
    int Result() const { return m_result; }
    bool Destroyed() const { return m_destroyed; }
    const DialogTemplate& Template() const { return m_template; }
    // How a link control looks: text colour, tooltip, underline and cursor.
    struct LinkLook {
        bool underlined = false;
        bool handCursor = false;
        COLORREF colour = 0;
        std::string toolTip;
    };
    // Nothing for a control that is not a link.
    std::optional<LinkLook> Link(int id) const;
    bool IsWebView(int id) const { return Get(id, &State::webClient, static_cast<WebViewClient*>(nullptr)); }
    // Every address a web view was sent to, oldest first.
    std::vector<std::string> Navigations(int id) const { return Get(id, &State::navigations, {}); }
    // How long the latest navigation may go unanswered (zero: no limit).
    std::chrono::milliseconds AnswerWait(int id) const { return Get(id, &State::answerWithin, {}); }
    std::span<const char* const> Bitmap(int id) const { return Get(id, &State::bitmap, {}); }
    std::string ToolTip(int id) const { return Get(id, &State::toolTip, {}); }

    // --- WindowImpl -----------------------------------------------------------
    std::string GetText(int id) const override;
    void SetText(int id, std::string_view text) override;
    void Enable(int id, bool enabled) override;
    bool IsEnabled(int id) const override;
    void Show(int id, bool visible) override;
    bool IsVisible(int id) const override;
    void SetFocus(int id) override;
    int GetFocus() const override { return m_focus; }
    Rect GetRect(int id) const override;
    void Move(int id, const Rect& rect) override;
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
    void ScrollCaret(int) override {}
    void SetRange(int id, int lower, int upper) override;
    void SetPos(int id, int pos) override;
    int GetPos(int id) const override;
    void SetBitmap(int id, std::span<const char* const> xpm) override { Set(id, &State::bitmap, xpm); }
    bool CreateWebView(int id, WebViewClient& client) override;
    void Navigate(int id, std::string_view url, std::chrono::milliseconds answerWithin) override;
    Rect GetClientRect() const override { return m_client; }
    void SetTitle(std::string_view text) override { m_title = std::string(text); }
    std::string GetTitle() const override { return m_title; }
    void SetIcon(std::span<const char* const> xpm) override { m_icon = xpm; }
    std::span<const char* const> Icon() const { return m_icon; }
    void SetTimer(unsigned id, unsigned periodMs) override;
    void KillTimer(unsigned id) override;
    using WindowImpl::AppendSystemMenuEntry;
    bool AppendSystemMenuEntry(unsigned commandId, std::string_view text, bool separated, bool checkable) override;
    void SetSystemMenuEntryState(unsigned commandId, bool enabled, bool checked) override;
    void EndDialog(int result) override;
    void DialogDeleted() override;
    void MakeLink(int id, bool underlined, LinkListener* listener) override;
    void SetTextColour(int id, COLORREF colour) override;
    void SetToolTip(int id, std::string_view text) override;
    Size GetTextExtent(int id) const override;
    bool IsMouseOver(int id) const override;

    // --- Used by the back end -------------------------------------------------
    struct Timer {
        unsigned period;
        std::uint64_t due;
        std::uint64_t order;
    };
    const std::map<unsigned, Timer>& Timers() const { return m_timers; }
    void FireTimer(unsigned id, std::uint64_t now);
    void Deliver(const Message& message);

private:
    struct State {
        ControlKind kind = ControlKind::StaticText;
        std::uint32_t style = 0;
        std::u32string text;
        int check = 0;
        std::vector<std::string> items;
        int curSel = -1;
        bool enabled = true;
        bool visible = true;
        Rect rect;
        int limit = kLargestTextLimit;
        int selStart = 0;
        int selEnd = 0;
        int rangeLow = 0;
        int rangeHigh = 100;
        int pos = 0;
        std::span<const char* const> bitmap;
        WebViewClient* webClient = nullptr; // set once the control is a web view
        std::vector<std::string> navigations;
        std::string toolTip;
        std::chrono::milliseconds answerWithin{};
    };
    State* Find(int id);
    const State* Find(int id) const;
    // One field of a control's state, or the fallback for an unknown id.
    template <typename T>
    T Get(int id, T State::*field, T fallback) const
    {
        const State* s = Find(id);
        return s ? s->*field : fallback;
    }
    template <typename T>
    void Set(int id, T State::*field, T value)
    {
        if (State* s = Find(id))
            s->*field = value;
    }
    bool Usable(int id) const;
    void InsertTyped(int id, State& s, std::u32string text); // as the user types
    void ReplaceSelection(State& s, std::u32string text);    // what EM_REPLACESEL does

    HeadlessBackend& m_backend;
    Dialog* m_dialog;
    const DialogTemplate& m_template;
    std::map<int, State> m_controls;
    struct LinkState {
        LinkLook look;
        LinkListener* listener = nullptr;
        bool hovered = false;
    };
    std::map<int, LinkState> m_links;
    std::map<unsigned, Timer> m_timers;
    std::vector<std::pair<unsigned, std::string>> m_systemMenu;
    std::map<unsigned, MenuEntryState> m_menuStates;
    Rect m_client;
    std::string m_title;
    std::span<const char* const> m_icon;
    int m_focus = 0;
    int m_depth = 0;
    bool m_ended = false;
    bool m_destroyed = false;
    int m_result = 0;
};

} // namespace ui::headless
