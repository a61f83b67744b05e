#include "ui_wx/wx_window.h"

#include "ui/dialog.h"
#include "ui/edit_rules.h"
#include "ui/quietly.h"
#include "ui_wx/accessibility.h"
#include "ui_wx/compact_style.h"
#include "ui_wx/control_factory.h"
#include "ui_wx/dialog_geometry.h"
#include "ui_wx/edit_text.h"
#include "ui_wx/long_lines.h"
#include "ui_wx/wx_text.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/icon.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

namespace ui_wx {

namespace {

using ui::ControlKind;

constexpr long kFrameStyle =
    wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER | wxMINIMIZE_BOX | wxMAXIMIZE_BOX;

// The size types of a size message.
constexpr std::uintptr_t kSizeRestored = 0;
constexpr std::uintptr_t kSizeMinimized = 1;
constexpr std::uintptr_t kSizeMaximized = 2;

wxRect ToWxRect(const ui::Rect& r)
{
    return wxRect(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
}

ui::Rect FromWxRect(const wxRect& r)
{
    return ui::RectFromSize(r.x, r.y, r.width, r.height);
}

bool IsEditKind(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::MultiLineEdit;
}

// A control the user can move the focus to with Tab.
bool TakesTabFocus(const ui::ControlTemplate& c, const wxWindow& w)
{
    return (c.style & ui::kTabStop) && w.IsEnabled() && w.IsShown();
}

} // namespace

WxWindow::WxWindow(ui::Dialog& dialog, wxWindow* owner)
    : m_dialog(&dialog), m_template(dialog.Template()),
      m_frame(new wxDialog(owner, wxID_ANY, ToWx(m_template.caption), wxDefaultPosition, wxDefaultSize,
                           m_template.resizable ? kFrameStyle : wxDEFAULT_DIALOG_STYLE))
{
    UseCompactStyle(*m_frame);
    const ui::Rect client = TemplateClientRect(m_template.width, m_template.height);
    m_frame->SetClientSize(m_frame->FromDIP(wxSize(client.Width(), client.Height())));
    CreateControls();
    TieLabels();
    BindWindowEvents();
    m_lastClientSize = m_frame->GetClientSize();
}

WxWindow::~WxWindow()
{
    StopTimers();
    m_timers.clear();
    // The modal run is over (or never began), so the window can go now.
    delete m_frame;
}

void WxWindow::CreateControls()
{
    for (const ui::ControlTemplate& c : m_template.controls) {
        const ui::Rect scaled = TemplateRectToPixels(c.rect);
        const wxRect device(m_frame->FromDIP(wxPoint(scaled.left, scaled.top)),
                            m_frame->FromDIP(wxSize(scaled.Width(), scaled.Height())));
        wxWindow* window = CreateControl(*m_frame, c, FromWxRect(device));
        m_created.push_back(window);
        if (!window || c.id == ui::kNoId)
            continue;
        ControlState state;
        state.tmpl = &c;
        state.window = window;
        state.caption = std::string(c.caption);
        state.limit = ui::kLargestTextLimit;
        m_controls[c.id] = state;
        BindControl(c.id, *window, c.kind);
        if (!c.accessibleName.empty())
            SetAccessibleName(*window, c.accessibleName);
    }
}

void WxWindow::TieLabels()
{
    // A label names the next control in tab order that is not a label or a
    // group box, as the platform's dialog manager pairs them for mnemonics.
    const auto& all = m_template.controls;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].kind != ControlKind::Label || !m_created[i])
            continue;
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            if (all[j].kind == ControlKind::Label || all[j].kind == ControlKind::GroupBox)
                continue;
            if (m_created[j])
                TieLabelToControl(*m_created[i], *m_created[j], all[i].caption);
            break;
        }
    }
}

void WxWindow::BindControl(int id, wxWindow& window, ControlKind kind)
{
    const auto clicked = [this, id](wxCommandEvent&) {
        Deliver(ui::Message{ui::Msg::Command, id, ui::Notify::Clicked});
    };
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::BitmapButton:
        window.Bind(wxEVT_BUTTON, clicked);
        break;
    case ControlKind::CheckBox:
        window.Bind(wxEVT_CHECKBOX, clicked); // the box has toggled itself already
        break;
    case ControlKind::PushLikeCheckBox:
        window.Bind(wxEVT_TOGGLEBUTTON, clicked);
        break;
    case ControlKind::DropDownList:
        window.Bind(wxEVT_CHOICE, [this, id](wxCommandEvent&) {
            Deliver(ui::Message{ui::Msg::Command, id, ui::Notify::SelChange});
        });
        break;
    case ControlKind::Edit:
    case ControlKind::MultiLineEdit:
        window.Bind(wxEVT_TEXT, [this, id](wxCommandEvent&) {
            if (m_quiet == 0)
                Deliver(ui::Message{ui::Msg::Command, id, ui::Notify::Change});
        });
        break;
    default:
        break;
    }
}

void WxWindow::BindWindowEvents()
{
    m_frame->Bind(wxEVT_CHAR_HOOK, &WxWindow::OnCharHook, this);
    m_frame->Bind(wxEVT_CLOSE_WINDOW, &WxWindow::OnCloseBox, this);
    m_frame->Bind(wxEVT_SIZE, &WxWindow::OnSized, this);
    m_frame->Bind(wxEVT_CONTEXT_MENU, &WxWindow::OnContextMenu, this);
}

wxWindow* WxWindow::Control(int id) const
{
    const ControlState* s = Find(id);
    return s ? s->window : nullptr;
}

WxWindow::ControlState* WxWindow::Find(int id)
{
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

const WxWindow::ControlState* WxWindow::Find(int id) const
{
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

int WxWindow::IdOf(const wxWindow* window) const
{
    for (; window && window != m_frame; window = window->GetParent())
        for (const auto& [id, state] : m_controls)
            if (state.window == window)
                return id;
    return 0;
}

// --- Running -------------------------------------------------------------------

void WxWindow::BeginDelivery()
{
    m_delivering = true;
    m_lastClientSize = m_frame->GetClientSize();
}

void WxWindow::FocusFirstTabStop()
{
    for (const ui::ControlTemplate& c : m_template.controls) {
        const ControlState* s = Find(c.id);
        if (s && TakesTabFocus(c, *s->window)) {
            s->window->SetFocus();
            return;
        }
    }
}

int WxWindow::ShowModal()
{
    if (!m_ended) {
        m_frame->CentreOnScreen();
        m_frame->ShowModal();
    }
    return m_result;
}

void WxWindow::StopTimers()
{
    for (auto& [id, timer] : m_timers)
        timer->Halt();
}

void WxWindow::RequestQuit()
{
    Deliver(ui::Message{ui::Msg::QuitRequest});
}

void WxWindow::Deliver(const ui::Message& message)
{
    if (m_delivering && m_dialog)
        m_dialog->Dispatch(message);
}

// --- Window events ---------------------------------------------------------------

void WxWindow::OnCharHook(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    const int mods = event.GetModifiers();
    const int focus = GetFocus();
    const ControlState* focused = Find(focus);
    const bool inEdit = focused && IsEditKind(focused->tmpl->kind);

    if (key == WXK_ESCAPE && mods == wxMOD_NONE) {
        Deliver(ui::Message{ui::Msg::Command, ui::IDCANCEL, ui::Notify::Clicked});
    } else if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && mods == wxMOD_NONE) {
        // A multi-line box that wants Enter takes it as a line break; every
        // other control turns it into the dialog's OK command, which never
        // closes the window by itself.
        if (focused && focused->tmpl->kind == ControlKind::MultiLineEdit && (focused->tmpl->style & ui::kWantReturn))
            TypeNewLine(focus);
        else
            Deliver(ui::Message{ui::Msg::Command, ui::IDOK, ui::Notify::Clicked});
    } else if (key == WXK_F1 && mods == wxMOD_NONE) {
        Deliver(ui::Message{ui::Msg::Help});
    } else if (key == WXK_SPACE && mods == wxMOD_ALT) {
        ShowSystemMenu(false);
    } else if ((key == WXK_MENU && mods == wxMOD_NONE) || (key == WXK_F10 && mods == wxMOD_SHIFT)) {
        // An edit keeps its own context menu (cut, copy, paste).
        if (inEdit)
            event.Skip();
        else
            ShowSystemMenu(false);
    } else {
        event.Skip();
    }
}

void WxWindow::OnCloseBox(wxCloseEvent& event)
{
    // The framework decides whether the window closes: the close box is the
    // close system command, whose default processing sends the close message.
    if (event.CanVeto())
        event.Veto();
    Deliver(ui::Message{ui::Msg::SysCommand, 0, ui::Notify::Clicked, ui::SC_CLOSE});
}

void WxWindow::OnSized(wxSizeEvent& event)
{
    event.Skip();
    const wxSize size = m_frame->GetClientSize();
    if (!m_delivering || size == m_lastClientSize)
        return;
    m_lastClientSize = size;
    const std::uintptr_t type = m_frame->IsIconized()    ? kSizeMinimized
                                : m_frame->IsMaximized() ? kSizeMaximized
                                                         : kSizeRestored;
    Deliver(ui::Message{ui::Msg::Size, 0, ui::Notify::Clicked, type});
}

void WxWindow::OnContextMenu(wxContextMenuEvent& event)
{
    // Edits have their own context menu; everywhere else the window's menu.
    const auto* source = dynamic_cast<wxWindow*>(event.GetEventObject());
    if (dynamic_cast<const wxTextCtrl*>(source)) {
        event.Skip();
        return;
    }
    ShowSystemMenu(event.GetPosition() != wxDefaultPosition);
}

void WxWindow::ShowSystemMenu(bool atPointer)
{
    if (const auto command = m_systemMenu.Choose(*m_frame, atPointer))
        Deliver(ui::Message{ui::Msg::SysCommand, 0, ui::Notify::Clicked, *command});
}

void WxWindow::TypeNewLine(int id)
{
    // The line break the platform's edit control types: CR LF, two
    // characters, so what the user types reads back with "\r\n".
    ControlState* s = Find(id);
    auto* edit = s ? dynamic_cast<wxTextCtrl*>(s->window) : nullptr;
    if (!edit || !edit->IsEditable())
        return;
    ReplaceSelection(*s, wxString("\r\n"));
    Deliver(ui::Message{ui::Msg::Command, id, ui::Notify::Change});
}

// --- Any control -------------------------------------------------------------------

std::string WxWindow::GetText(int id) const
{
    const ControlState* s = Find(id);
    if (!s)
        return {};
    switch (s->tmpl->kind) {
    case ControlKind::BitmapButton:
        return s->caption;
    case ControlKind::DropDownList: {
        const auto* list = static_cast<const wxChoice*>(s->window);
        return list->GetSelection() == wxNOT_FOUND ? std::string() : FromWx(list->GetStringSelection());
    }
    case ControlKind::Edit:
        return FromWx(static_cast<const wxTextCtrl*>(s->window)->GetValue());
    case ControlKind::MultiLineEdit: {
        const auto* box = static_cast<const wxTextCtrl*>(s->window);
        const std::optional<std::string> unbroken = TextWithoutSoftBreaks(*box);
        return WithCrLfLineBreaks(unbroken ? *unbroken : FromWx(box->GetValue()));
    }
    default:
        return FromWx(s->window->GetLabel());
    }
}

void WxWindow::SetText(int id, std::string_view text)
{
    ControlState* s = Find(id);
    if (!s)
        return;
    ui::Quietly quiet(m_quiet);
    switch (s->tmpl->kind) {
    case ControlKind::BitmapButton:
        s->caption = std::string(text);
        s->window->SetToolTip(ToWx(text));
        SetAccessibleName(*s->window, text);
        break;
    case ControlKind::DropDownList:
        break; // a list the user cannot type into has no text of its own
    case ControlKind::Edit:
    case ControlKind::MultiLineEdit:
        // Kept as given: "\r\n" and "\n" both show as a line break, and each
        // character stays one position.
        static_cast<wxTextCtrl*>(s->window)->ChangeValue(ToWx(text));
        break;
    default:
        s->window->SetLabel(ToWx(text));
        break;
    }
}

void WxWindow::Enable(int id, bool enabled)
{
    if (wxWindow* w = Control(id))
        w->Enable(enabled);
}

bool WxWindow::IsEnabled(int id) const
{
    const wxWindow* w = Control(id);
    return w && w->IsThisEnabled();
}

void WxWindow::Show(int id, bool visible)
{
    if (wxWindow* w = Control(id))
        w->Show(visible);
}

bool WxWindow::IsVisible(int id) const
{
    const wxWindow* w = Control(id);
    return w && w->IsShown();
}

void WxWindow::SetFocus(int id)
{
    if (wxWindow* w = Control(id))
        w->SetFocus();
}

int WxWindow::GetFocus() const
{
    return IdOf(wxWindow::FindFocus());
}

ui::Rect WxWindow::GetRect(int id) const
{
    const wxWindow* w = Control(id);
    return w ? FromWxRect(w->GetRect()) : ui::Rect{};
}

void WxWindow::Move(int id, const ui::Rect& rect)
{
    if (wxWindow* w = Control(id)) {
        w->SetSize(ToWxRect(rect));
        w->Refresh();
    }
}

// --- Check boxes -------------------------------------------------------------------

int WxWindow::GetCheck(int id) const
{
    const wxWindow* w = Control(id);
    if (const auto* box = dynamic_cast<const wxCheckBox*>(w)) {
        switch (box->Get3StateValue()) {
        case wxCHK_CHECKED:
            return 1;
        case wxCHK_UNDETERMINED:
            return 2;
        default:
            return 0;
        }
    }
    if (const auto* toggle = dynamic_cast<const wxToggleButton*>(w))
        return toggle->GetValue() ? 1 : 0;
    return 0;
}

void WxWindow::SetCheck(int id, int state)
{
    wxWindow* w = Control(id);
    ui::Quietly quiet(m_quiet);
    if (auto* box = dynamic_cast<wxCheckBox*>(w))
        box->Set3StateValue(state == 1 ? wxCHK_CHECKED : state == 2 ? wxCHK_UNDETERMINED : wxCHK_UNCHECKED);
    else if (auto* toggle = dynamic_cast<wxToggleButton*>(w))
        toggle->SetValue(state != 0); // a push-like box has no third look: any mark shows pressed
}

// --- Drop-down lists -------------------------------------------------------------

void WxWindow::ResetContent(int id)
{
    if (auto* list = dynamic_cast<wxChoice*>(Control(id)))
        list->Clear();
}

int WxWindow::AddString(int id, std::string_view text)
{
    auto* list = dynamic_cast<wxChoice*>(Control(id));
    return list ? list->Append(ToWx(text)) : -1;
}

int WxWindow::GetCount(int id) const
{
    const auto* list = dynamic_cast<const wxChoice*>(Control(id));
    return list ? static_cast<int>(list->GetCount()) : 0;
}

std::string WxWindow::GetItemText(int id, int row) const
{
    const auto* list = dynamic_cast<const wxChoice*>(Control(id));
    if (!list || row < 0 || row >= static_cast<int>(list->GetCount()))
        return {};
    return FromWx(list->GetString(static_cast<unsigned>(row)));
}

int WxWindow::GetCurSel(int id) const
{
    const auto* list = dynamic_cast<const wxChoice*>(Control(id));
    return list ? list->GetSelection() : -1; // wxNOT_FOUND is -1
}

void WxWindow::SetCurSel(int id, int row)
{
    auto* list = dynamic_cast<wxChoice*>(Control(id));
    if (!list)
        return;
    ui::Quietly quiet(m_quiet);
    const bool inList = row >= 0 && row < static_cast<int>(list->GetCount());
    list->SetSelection(inList ? row : wxNOT_FOUND);
}

// --- Edits -------------------------------------------------------------------------

int WxWindow::GetLimitText(int id) const
{
    const ControlState* s = Find(id);
    return s && IsEditKind(s->tmpl->kind) ? s->limit : 0;
}

void WxWindow::SetLimitText(int id, int limit)
{
    ControlState* s = Find(id);
    if (s && IsEditKind(s->tmpl->kind))
        s->limit = ui::EffectiveTextLimit(limit);
}

void WxWindow::SetSel(int id, int start, int end)
{
    auto* edit = dynamic_cast<wxTextCtrl*>(Control(id));
    if (!edit)
        return;
    const auto [from, to] = ui::NormalizeSelection(start, end, static_cast<int>(edit->GetLastPosition()));
    edit->SetSelection(from, to);
}

void WxWindow::ReplaceSel(int id, std::string_view text)
{
    ControlState* s = Find(id);
    if (s && IsEditKind(s->tmpl->kind)) {
        ui::Quietly quiet(m_quiet);
        ReplaceSelection(*s, ToWx(text));
    }
}

void WxWindow::ReplaceSelection(ControlState& state, const wxString& text)
{
    // GTK's text view has no limit of its own, so the box's limit is kept
    // here: the box takes characters up to its limit and drops the rest.
    auto* edit = static_cast<wxTextCtrl*>(state.window);
    long from = 0;
    long to = 0;
    edit->GetSelection(&from, &to);
    const int length = static_cast<int>(edit->GetLastPosition());
    const int fit =
        ui::CharactersThatFit(length, static_cast<int>(to - from), static_cast<int>(text.length()), state.limit);
    edit->Replace(from, to, text.Left(static_cast<std::size_t>(fit)));
    edit->SetInsertionPoint(from + fit);
}

void WxWindow::ScrollCaret(int id)
{
    if (auto* edit = dynamic_cast<wxTextCtrl*>(Control(id)))
        edit->ShowPosition(edit->GetInsertionPoint());
}

// --- Progress bars ---------------------------------------------------------------

void WxWindow::SetRange(int id, int lower, int upper)
{
    ControlState* s = Find(id);
    auto* bar = s ? dynamic_cast<wxGauge*>(s->window) : nullptr;
    if (!bar)
        return;
    s->rangeLower = lower;
    s->rangeUpper = upper;
    bar->SetRange(std::max(1, upper - lower));
    SetPos(id, s->pos);
}

void WxWindow::SetPos(int id, int pos)
{
    // A position outside the range stands at its nearer end: above the
    // range the bar shows full.
    ControlState* s = Find(id);
    auto* bar = s ? dynamic_cast<wxGauge*>(s->window) : nullptr;
    if (!bar)
        return;
    s->pos = std::clamp(pos, s->rangeLower, std::max(s->rangeLower, s->rangeUpper));
    bar->SetValue(std::min(s->pos - s->rangeLower, bar->GetRange()));
}

int WxWindow::GetPos(int id) const
{
    const ControlState* s = Find(id);
    return s && dynamic_cast<const wxGauge*>(s->window) ? s->pos : 0;
}

// --- Buttons -----------------------------------------------------------------------

void WxWindow::SetBitmap(int id, std::span<const char* const> xpm)
{
    auto* button = dynamic_cast<wxButton*>(Control(id));
    if (!button || xpm.empty())
        return;
    const wxBitmap bitmap(xpm.data());
    if (!bitmap.IsOk())
        return;
    // The picture replaces the stand-in caption; the caption stays the
    // button's tooltip and accessible name. The image goes in while the
    // caption is still there (wx only makes its image widget for a button
    // with a caption), then the caption leaves the face.
    button->SetBitmap(bitmap);
    ShowImageOnly(*button);
}

// --- The window itself -------------------------------------------------------------

ui::Rect WxWindow::GetClientRect() const
{
    const wxSize size = m_frame->GetClientSize();
    return ui::Rect{0, 0, size.x, size.y};
}

void WxWindow::SetTitle(std::string_view text)
{
    m_frame->SetTitle(ToWx(text));
}

std::string WxWindow::GetTitle() const
{
    return FromWx(m_frame->GetTitle());
}

void WxWindow::SetIcon(std::span<const char* const> xpm)
{
    if (xpm.empty())
        return;
    const wxBitmap bitmap(xpm.data());
    if (!bitmap.IsOk())
        return;
    wxIcon icon;
    icon.CopyFromBitmap(bitmap);
    m_frame->SetIcon(icon);
}

void WxWindow::SetTimer(unsigned id, unsigned periodMs)
{
    auto& timer = m_timers[id];
    if (!timer)
        timer = std::make_unique<TickTimer>([this, id] { Deliver(ui::Message{ui::Msg::Timer, static_cast<int>(id)}); });
    timer->Run(periodMs);
}

void WxWindow::KillTimer(unsigned id)
{
    // The timer object stays: this may run inside its own tick.
    if (auto it = m_timers.find(id); it != m_timers.end())
        it->second->Halt();
}

bool WxWindow::AppendSystemMenuEntry(unsigned commandId, std::string_view text, bool separated, bool checkable)
{
    m_systemMenu.Append(commandId, text, separated, checkable);
    return true;
}

void WxWindow::SetSystemMenuEntryState(unsigned commandId, bool enabled, bool checked)
{
    m_systemMenu.SetState(commandId, enabled, checked);
}

void WxWindow::EndDialog(int result)
{
    if (m_ended)
        return;
    m_ended = true;
    m_result = result;
    if (m_frame->IsModal())
        m_frame->EndModal(result);
}

} // namespace ui_wx
