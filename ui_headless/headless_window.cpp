#include "ui_headless/headless_window.h"

#include "ui/dialog.h"
#include "ui/edit_rules.h"
#include "ui/utf8.h"
#include "ui_headless/headless_backend.h"

#include <algorithm>

namespace ui::headless {

namespace {
std::uint64_t g_timerOrder = 0;

bool IsCheckBox(ControlKind k)
{
    return k == ControlKind::CheckBox || k == ControlKind::PushLikeCheckBox;
}

bool IsEdit(ControlKind k)
{
    return k == ControlKind::Edit || k == ControlKind::MultiLineEdit;
}
} // namespace

HeadlessWindow::HeadlessWindow(HeadlessBackend& backend, Dialog& dialog, const DialogTemplate& tmpl)
    : m_backend(backend), m_dialog(&dialog),
      m_template(tmpl), m_client{0, 0, DialogUnitsToPixelsX(tmpl.width), DialogUnitsToPixelsY(tmpl.height)},
      m_title(tmpl.caption)
{
    for (const ControlTemplate& c : tmpl.controls) {
        if (c.id == kNoId)
            continue;
        State s;
        s.kind = c.kind;
        s.style = c.style;
        if (!IsEdit(c.kind) && c.kind != ControlKind::DropDownList)
            s.text = DecodeUtf8(c.caption);
        s.rect = DialogUnitsToPixels(c.rect);
        m_controls[c.id] = std::move(s);
    }
}

HeadlessWindow::State* HeadlessWindow::Find(int id)
{
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

const HeadlessWindow::State* HeadlessWindow::Find(int id) const
{
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

bool HeadlessWindow::Usable(int id) const
{
    const State* s = Find(id);
    return s && s->enabled && s->visible && !m_destroyed;
}

void HeadlessWindow::Deliver(const Message& message)
{
    if (!m_dialog || m_destroyed)
        return;
    ++m_depth;
    m_dialog->Dispatch(message);
    --m_depth;
    // Like a modal loop, the window goes away once the handler that ended
    // the dialog has returned.
    if (m_depth == 0 && m_ended && !m_destroyed) {
        m_destroyed = true;
        m_timers.clear();
        if (m_dialog)
            m_dialog->DestroyWindow();
    }
}

void HeadlessWindow::FireTimer(unsigned id, std::uint64_t now)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    it->second.due = now + it->second.period;
    Deliver(Message{Msg::Timer, static_cast<int>(id)});
}

// --- What the user does ------------------------------------------------------

void HeadlessWindow::Click(int id)
{
    if (!Usable(id))
        return;
    State& s = *Find(id);
    m_focus = id;
    if (IsCheckBox(s.kind))
        s.check = s.check == 0 ? 1 : 0;
    Deliver(Message{Msg::Command, id, Notify::Clicked});
}

void HeadlessWindow::Choose(int id, int row)
{
    if (!Usable(id))
        return;
    m_focus = id;
    SetCurSel(id, row);
    Deliver(Message{Msg::Command, id, Notify::SelChange});
}

void HeadlessWindow::Type(int id, std::string_view text)
{
    State* s = Find(id);
    if (!s || !Usable(id) || !IsEdit(s->kind))
        return;
    m_focus = id;
    s->text.clear();
    s->selStart = s->selEnd = 0;
    InsertTyped(id, *s, DecodeUtf8(text));
}

void HeadlessWindow::TypeAtEnd(int id, std::string_view text)
{
    State* s = Find(id);
    if (!s || !Usable(id) || !IsEdit(s->kind))
        return;
    m_focus = id;
    s->selStart = s->selEnd = static_cast<int>(s->text.size());
    InsertTyped(id, *s, DecodeUtf8(text));
}

void HeadlessWindow::InsertTyped(int id, State& s, std::u32string text)
{
    ReplaceSelection(s, std::move(text));
    Deliver(Message{Msg::Command, id, Notify::Change});
}

void HeadlessWindow::ReplaceSelection(State& s, std::u32string text)
{
    auto [start, end] = NormalizeSelection(s.selStart, s.selEnd, static_cast<int>(s.text.size()));
    const int fit =
        CharactersThatFit(static_cast<int>(s.text.size()), end - start, static_cast<int>(text.size()), s.limit);
    text.resize(static_cast<std::size_t>(fit));
    s.text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), text);
    s.selStart = s.selEnd = start + fit;
}

void HeadlessWindow::Focus(int id)
{
    if (Usable(id))
        m_focus = id;
}

void HeadlessWindow::FocusFirstTabStop()
{
    for (const ControlTemplate& c : m_template.controls) {
        if ((c.style & kTabStop) && Usable(c.id)) {
            m_focus = c.id;
            return;
        }
    }
}

void HeadlessWindow::PressEnter()
{
    State* s = Find(m_focus);
    if (s && s->kind == ControlKind::MultiLineEdit && (s->style & kWantReturn)) {
        InsertTyped(m_focus, *s, U"\r\n");
        return;
    }
    Deliver(Message{Msg::Command, IDOK, Notify::Clicked});
}

void HeadlessWindow::PressEscape()
{
    Deliver(Message{Msg::Command, IDCANCEL, Notify::Clicked});
}

void HeadlessWindow::PressF1()
{
    Deliver(Message{Msg::Help});
}

void HeadlessWindow::CloseBox()
{
    // The close box is the close system command; its default is WM_CLOSE.
    Deliver(Message{Msg::SysCommand, 0, Notify::Clicked, SC_CLOSE});
}

void HeadlessWindow::RequestQuit()
{
    Deliver(Message{Msg::QuitRequest});
}

void HeadlessWindow::ChooseSystemMenu(unsigned commandId)
{
    // A greyed entry cannot be chosen.
    if (const auto state = SystemMenuState(commandId); state && !state->enabled)
        return;
    Deliver(Message{Msg::SysCommand, 0, Notify::Clicked, commandId});
}

void HeadlessWindow::Resize(int clientWidth, int clientHeight)
{
    m_client = Rect{0, 0, clientWidth, clientHeight};
    Deliver(Message{Msg::Size});
}

std::vector<std::string> HeadlessWindow::Items(int id) const
{
    const State* s = Find(id);
    return s ? s->items : std::vector<std::string>{};
}

std::pair<int, int> HeadlessWindow::EditSelection(int id) const
{
    const State* s = Find(id);
    return s ? std::pair{s->selStart, s->selEnd} : std::pair{0, 0};
}

std::optional<unsigned> HeadlessWindow::TimerPeriod(unsigned id) const
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return std::nullopt;
    return it->second.period;
}

// --- WindowImpl ----------------------------------------------------------------

std::string HeadlessWindow::GetText(int id) const
{
    const State* s = Find(id);
    if (s && s->kind == ControlKind::DropDownList)
        return GetItemText(id, s->curSel); // the chosen row's, as the platform's list answers
    return s ? EncodeUtf8(s->text) : std::string();
}

void HeadlessWindow::SetText(int id, std::string_view text)
{
    if (State* s = Find(id)) {
        s->text = DecodeUtf8(text);
        s->selStart = s->selEnd = 0;
    }
}

void HeadlessWindow::Enable(int id, bool enabled)
{
    Set(id, &State::enabled, enabled);
}

bool HeadlessWindow::IsEnabled(int id) const
{
    const State* s = Find(id);
    return s && s->enabled;
}

void HeadlessWindow::Show(int id, bool visible)
{
    Set(id, &State::visible, visible);
}

bool HeadlessWindow::IsVisible(int id) const
{
    const State* s = Find(id);
    return s && s->visible;
}

void HeadlessWindow::SetFocus(int id)
{
    if (Find(id))
        m_focus = id;
}

Rect HeadlessWindow::GetRect(int id) const
{
    return Get(id, &State::rect, Rect{});
}

void HeadlessWindow::Move(int id, const Rect& rect)
{
    Set(id, &State::rect, rect);
}

int HeadlessWindow::GetCheck(int id) const
{
    return Get(id, &State::check, 0);
}

void HeadlessWindow::SetCheck(int id, int state)
{
    Set(id, &State::check, state);
}

void HeadlessWindow::ResetContent(int id)
{
    if (State* s = Find(id)) {
        s->items.clear();
        s->curSel = -1;
    }
}

int HeadlessWindow::AddString(int id, std::string_view text)
{
    State* s = Find(id);
    if (!s)
        return -1;
    s->items.emplace_back(text);
    return static_cast<int>(s->items.size()) - 1;
}

int HeadlessWindow::GetCount(int id) const
{
    const State* s = Find(id);
    return s ? static_cast<int>(s->items.size()) : 0;
}

std::string HeadlessWindow::GetItemText(int id, int row) const
{
    const State* s = Find(id);
    if (!s || row < 0 || row >= static_cast<int>(s->items.size()))
        return {};
    return s->items[static_cast<std::size_t>(row)];
}

int HeadlessWindow::GetCurSel(int id) const
{
    return Get(id, &State::curSel, -1);
}

void HeadlessWindow::SetCurSel(int id, int row)
{
    if (State* s = Find(id))
        s->curSel = (row >= 0 && row < static_cast<int>(s->items.size())) ? row : -1;
}

int HeadlessWindow::GetLimitText(int id) const
{
    const State* s = Find(id);
    return s && IsEdit(s->kind) ? s->limit : 0;
}

void HeadlessWindow::SetLimitText(int id, int limit)
{
    if (State* s = Find(id))
        s->limit = EffectiveTextLimit(limit);
}

void HeadlessWindow::SetSel(int id, int start, int end)
{
    if (State* s = Find(id)) {
        auto [a, b] = NormalizeSelection(start, end, static_cast<int>(s->text.size()));
        s->selStart = a;
        s->selEnd = b;
    }
}

void HeadlessWindow::ReplaceSel(int id, std::string_view text)
{
    if (State* s = Find(id))
        ReplaceSelection(*s, DecodeUtf8(text));
}

void HeadlessWindow::SetRange(int id, int lower, int upper)
{
    if (State* s = Find(id)) {
        s->rangeLow = lower;
        s->rangeHigh = upper;
        SetPos(id, s->pos);
    }
}

void HeadlessWindow::SetPos(int id, int pos)
{
    // The platform's bar keeps a position outside its range at the nearer end.
    if (State* s = Find(id))
        s->pos = std::clamp(pos, s->rangeLow, std::max(s->rangeLow, s->rangeHigh));
}

int HeadlessWindow::GetPos(int id) const
{
    return Get(id, &State::pos, 0);
}

void HeadlessWindow::SetTimer(unsigned id, unsigned periodMs)
{
    m_timers[id] = Timer{periodMs, m_backend.Now() + periodMs, g_timerOrder++};
}

void HeadlessWindow::KillTimer(unsigned id)
{
    m_timers.erase(id);
}

bool HeadlessWindow::AppendSystemMenuEntry(unsigned commandId, std::string_view text, bool, bool checkable)
{
    m_systemMenu.emplace_back(commandId, std::string(text));
    m_menuStates[commandId] = MenuEntryState{true, false, checkable};
    return true;
}

void HeadlessWindow::SetSystemMenuEntryState(unsigned commandId, bool enabled, bool checked)
{
    if (auto it = m_menuStates.find(commandId); it != m_menuStates.end()) {
        it->second.enabled = enabled;
        it->second.checked = it->second.checkable && checked;
    }
}

std::optional<HeadlessWindow::MenuEntryState> HeadlessWindow::SystemMenuState(unsigned commandId) const
{
    const auto it = m_menuStates.find(commandId);
    return it == m_menuStates.end() ? std::nullopt : std::optional(it->second);
}

void HeadlessWindow::EndDialog(int result)
{
    m_ended = true;
    m_result = result;
    if (m_depth == 0 && !m_destroyed) {
        m_destroyed = true;
        m_timers.clear();
        if (m_dialog)
            m_dialog->DestroyWindow();
    }
}

} // namespace ui::headless

namespace ui::headless {

// --- Web views -----------------------------------------------------------------------

bool HeadlessWindow::CreateWebView(int id, WebViewClient& client)
{
    State* s = Find(id);
    if (!s || !m_backend.WebViewsAvailable())
        return false;
    s->webClient = &client;
    s->text.clear();
    return true;
}

void HeadlessWindow::Navigate(int id, std::string_view url, std::chrono::milliseconds answerWithin)
{
    if (State* s = Find(id); s && s->webClient) {
        s->navigations.emplace_back(url);
        s->answerWithin = answerWithin;
    }
}

void HeadlessWindow::FinishLoad(int id, std::string_view title)
{
    State* s = Find(id);
    if (!s || !s->webClient || s->navigations.empty() || !m_dialog || m_destroyed)
        return;
    const std::string url = s->navigations.back();
    s->webClient->DocumentComplete(url, title);
}

void HeadlessWindow::RequestNewWindow(int id, std::string_view url)
{
    State* s = Find(id);
    if (s && s->webClient && m_dialog && !m_destroyed)
        s->webClient->NewWindowRequested(url);
}

} // namespace ui::headless
