#include "ui_win32/win32_window.h"

#include "ui/dialog.h"
#include "ui/edit_rules.h"
#include "ui/quietly.h"
#include "ui_win32/browser_pane.h"
#include "ui_win32/template_builder.h"
#include "ui_win32/win32_text.h"
#include "ui_win32/xpm_image.h"

#include <algorithm>
#include <climits>

namespace ui_win32 {

namespace {

using ui::ControlKind;

std::wstring WindowText(HWND hwnd)
{
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, got)));
    return text;
}

} // namespace

Win32Window::Win32Window(ui::Dialog& dialog) : m_dialog(&dialog), m_template(dialog.Template())
{
}

Win32Window::~Win32Window()
{
    for (auto& [id, bitmap] : m_bitmaps)
        ::DeleteObject(bitmap);
    if (m_bigIcon)
        ::DestroyIcon(m_bigIcon);
    for (HICON icon : m_icons)
        ::DestroyIcon(icon);
    if (m_linkFont)
        ::DeleteObject(m_linkFont);
}

void Win32Window::DialogDeleted()
{
    m_dialog = nullptr;
    m_browsers.clear(); // they report to the dialog's objects
}

int Win32Window::RunModal(HWND owner)
{
    const std::vector<std::uint16_t> words = BuildDialogTemplate(m_template);
    const INT_PTR result =
        ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner,
                                  &Win32Window::DialogProc, reinterpret_cast<LPARAM>(this));
    return result == -1 ? -1 : m_result;
}

INT_PTR CALLBACK Win32Window::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return reinterpret_cast<Win32Window*>(lParam)->OnInitDialog(hwnd);
    }
    auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

BOOL Win32Window::OnInitDialog(HWND hwnd)
{
    m_hwnd = hwnd;
    // Edits take any length until the program sets a limit.
    for (const ui::ControlTemplate& c : m_template.controls)
        if (IsEdit(c.id))
            ::SendMessageW(Item(c.id), EM_SETLIMITTEXT, ui::kLargestTextLimit, 0);
    ShowTemplateImages();
    CreateTips();
    m_dialog->AttachWindow(this);
    m_delivering = true;
    const BOOL focusDefault = m_dialog->InitDialog() ? TRUE : FALSE;
    if (m_dialog)
        KeepInWorkArea();
    return focusDefault;
}

// The dialog manager centres a dialog in the work area (the screen less the
// taskbar). The main window is taller than the work area of a 1366 x 768
// laptop (a 739 px client area, title bar and frame, above a 40 px taskbar):
// centred, its title bar could go above the screen and more of its bottom
// under the taskbar. A window that does not fit starts at the work area's
// top (or left) edge instead, whatever the dialog manager of the Windows
// version at hand does: its title bar stays there to move it by, and only
// the part that cannot fit is hidden, at the bottom, where the layout puts
// least (on that laptop the counters show; the Help button and Hide lie
// under the taskbar, and F1 still opens the help). A window that fits stays
// where the dialog manager put it, moved inside the work area if it stood
// over its edge.
void Win32Window::KeepInWorkArea()
{
    RECT window{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetWindowRect(m_hwnd, &window) ||
        !::GetMonitorInfoW(::MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    const auto place = [](LONG at, LONG size, LONG from, LONG to) {
        return size >= to - from ? from : std::clamp(at, from, to - size);
    };
    const LONG x = place(window.left, window.right - window.left, work.left, work.right);
    const LONG y = place(window.top, window.bottom - window.top, work.top, work.bottom);
    if (x != window.left || y != window.top)
        ::SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::ShowTemplateImages()
{
    // The dialog manager makes the controls in template order, each below
    // the one before, so the children in that order match the template.
    HWND child = ::GetWindow(m_hwnd, GW_CHILD);
    for (const ui::ControlTemplate& c : m_template.controls) {
        if (!child)
            break;
        if (c.kind == ControlKind::Icon && !c.image.empty()) {
            if (HICON icon = MakeIcon(c.image)) {
                ::SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
                m_icons.push_back(icon);
            }
        }
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
}

INT_PTR Win32Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return TRUE;
    case WM_SYSCOMMAND:
        // The close command and the program's own menu entries go to the
        // dialog; moving, sizing and the rest stay with the system.
        if ((wParam & 0xFFF0) == ui::SC_CLOSE || wParam < 0xF000) {
            Deliver(ui::Message{ui::Msg::SysCommand, 0, ui::Notify::Clicked, wParam, lParam});
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        Deliver(ui::Message{ui::Msg::Close});
        return TRUE;
    case WM_TIMER:
        Deliver(ui::Message{ui::Msg::Timer, static_cast<int>(wParam)});
        return TRUE;
    case WM_SIZE:
        Deliver(ui::Message{ui::Msg::Size, 0, ui::Notify::Clicked, wParam, lParam});
        return TRUE;
    case WM_DEVICECHANGE:
        Deliver(ui::Message{ui::Msg::DeviceChange, 0, ui::Notify::Clicked, wParam, lParam});
        ::SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_HELP:
        Deliver(ui::Message{ui::Msg::Help});
        return TRUE;
    case WM_ENDSESSION:
        // The session ends: close as the close box does, settings written.
        if (wParam)
            Deliver(ui::Message{ui::Msg::QuitRequest});
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return OnLinkColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DESTROY:
        // The window goes away with its timers; the dialog hears of it while
        // its controls still stand.
        for (unsigned id : m_timers)
            ::KillTimer(m_hwnd, id);
        m_timers.clear();
        m_delivering = false;
        if (m_dialog)
            m_dialog->DestroyWindow();
        m_browsers.clear(); // their client is the dialog's
        return FALSE;
    default:
        return FALSE;
    }
}

void Win32Window::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = static_cast<int>(static_cast<std::int16_t>(LOWORD(wParam)));
    const UINT code = HIWORD(wParam);
    const ui::ControlTemplate* c = lParam ? TemplateOf(id) : nullptr;
    if (!lParam || !c) {
        // Enter and Escape, turned into OK and Cancel by the dialog manager.
        if (id == ui::IDOK || id == ui::IDCANCEL)
            Deliver(ui::Message{ui::Msg::Command, id, ui::Notify::Clicked});
        return;
    }
    switch (c->kind) {
    case ControlKind::PushButton:
    case ControlKind::BitmapButton:
    case ControlKind::CheckBox:
    case ControlKind::PushLikeCheckBox:
        if (code == BN_CLICKED)
            Deliver(ui::Message{ui::Msg::Command, id, ui::Notify::Clicked});
        break;
    case ControlKind::DropDownList:
        if (code == CBN_SELCHANGE)
            Deliver(ui::Message{ui::Msg::Command, id, ui::Notify::SelChange});
        break;
    case ControlKind::Edit:
    case ControlKind::MultiLineEdit:
        if (code == EN_CHANGE && m_quiet == 0)
            Deliver(ui::Message{ui::Msg::Command, id, ui::Notify::Change});
        break;
    default:
        break; // statics: a link hears its clicks itself
    }
}

void Win32Window::Deliver(const ui::Message& message)
{
    if (m_delivering && m_dialog)
        m_dialog->Dispatch(message);
}

HWND Win32Window::Item(int id) const
{
    return m_hwnd && id != ui::kNoId ? ::GetDlgItem(m_hwnd, id) : nullptr;
}

const ui::ControlTemplate* Win32Window::TemplateOf(int id) const
{
    return m_template.Find(id);
}

bool Win32Window::IsEdit(int id) const
{
    const ui::ControlTemplate* c = TemplateOf(id);
    return c && (c->kind == ControlKind::Edit || c->kind == ControlKind::MultiLineEdit);
}

bool Win32Window::IsList(int id) const
{
    const ui::ControlTemplate* c = TemplateOf(id);
    return c && c->kind == ControlKind::DropDownList;
}

// --- Any control -------------------------------------------------------------------

std::string Win32Window::GetText(int id) const
{
    if (IsList(id))
        return GetItemText(id, GetCurSel(id));
    HWND item = Item(id);
    return item ? Narrow(WindowText(item)) : std::string();
}

void Win32Window::SetText(int id, std::string_view text)
{
    HWND item = Item(id);
    if (!item || IsList(id))
        return; // a list the user cannot type into has no text of its own
    ui::Quietly quiet(m_quiet);
    ::SetWindowTextW(item, Widen(text).c_str());
}

void Win32Window::Enable(int id, bool enabled)
{
    if (HWND item = Item(id))
        ::EnableWindow(item, enabled ? TRUE : FALSE);
}

bool Win32Window::IsEnabled(int id) const
{
    HWND item = Item(id);
    return item && ::IsWindowEnabled(item);
}

void Win32Window::Show(int id, bool visible)
{
    if (HWND item = Item(id))
        ::ShowWindow(item, visible ? SW_SHOW : SW_HIDE);
}

bool Win32Window::IsVisible(int id) const
{
    HWND item = Item(id);
    return item && (::GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE);
}

void Win32Window::SetFocus(int id)
{
    if (HWND item = Item(id))
        ::SetFocus(item);
}

int Win32Window::GetFocus() const
{
    HWND focus = ::GetFocus();
    while (focus && ::GetParent(focus) != m_hwnd)
        focus = ::GetParent(focus);
    const int id = focus ? ::GetDlgCtrlID(focus) : 0;
    return id == ui::kNoId ? 0 : id;
}

ui::Rect Win32Window::GetRect(int id) const
{
    HWND item = Item(id);
    RECT r{};
    if (!item || !::GetWindowRect(item, &r))
        return {};
    ::MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&r), 2);
    return ui::Rect{r.left, r.top, r.right, r.bottom};
}

void Win32Window::Move(int id, const ui::Rect& rect)
{
    if (HWND item = Item(id))
        ::MoveWindow(item, rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()), TRUE);
}

// --- Check boxes -------------------------------------------------------------------

int Win32Window::GetCheck(int id) const
{
    HWND item = Item(id);
    return item ? static_cast<int>(::SendMessageW(item, BM_GETCHECK, 0, 0)) : 0;
}

void Win32Window::SetCheck(int id, int state)
{
    if (HWND item = Item(id)) {
        ui::Quietly quiet(m_quiet);
        ::SendMessageW(item, BM_SETCHECK, state == 1 ? BST_CHECKED : state == 2 ? BST_INDETERMINATE : BST_UNCHECKED, 0);
    }
}

// --- Drop-down lists -------------------------------------------------------------

void Win32Window::ResetContent(int id)
{
    if (IsList(id))
        ::SendMessageW(Item(id), CB_RESETCONTENT, 0, 0);
}

int Win32Window::AddString(int id, std::string_view text)
{
    if (!IsList(id))
        return -1;
    const std::wstring wide = Widen(text);
    const auto row = ::SendMessageW(Item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    return row < 0 ? -1 : static_cast<int>(row);
}

int Win32Window::GetCount(int id) const
{
    return IsList(id) ? std::max(0, static_cast<int>(::SendMessageW(Item(id), CB_GETCOUNT, 0, 0))) : 0;
}

std::string Win32Window::GetItemText(int id, int row) const
{
    if (!IsList(id) || row < 0 || row >= GetCount(id))
        return {};
    HWND list = Item(id);
    const auto length = ::SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto got =
        ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, got)));
    return Narrow(text);
}

int Win32Window::GetCurSel(int id) const
{
    if (!IsList(id))
        return -1;
    const auto row = ::SendMessageW(Item(id), CB_GETCURSEL, 0, 0);
    return row < 0 ? -1 : static_cast<int>(row);
}

void Win32Window::SetCurSel(int id, int row)
{
    if (!IsList(id))
        return;
    ui::Quietly quiet(m_quiet);
    const bool inList = row >= 0 && row < GetCount(id);
    ::SendMessageW(Item(id), CB_SETCURSEL, inList ? static_cast<WPARAM>(row) : static_cast<WPARAM>(-1), 0);
}

// --- Edits -------------------------------------------------------------------------

int Win32Window::GetLimitText(int id) const
{
    if (!IsEdit(id))
        return 0;
    const auto limit = static_cast<unsigned long long>(::SendMessageW(Item(id), EM_GETLIMITTEXT, 0, 0));
    return static_cast<int>(std::min<unsigned long long>(limit, ui::kLargestTextLimit));
}

void Win32Window::SetLimitText(int id, int limit)
{
    if (IsEdit(id))
        ::SendMessageW(Item(id), EM_SETLIMITTEXT, static_cast<WPARAM>(ui::EffectiveTextLimit(limit)), 0);
}

void Win32Window::SetSel(int id, int start, int end)
{
    if (!IsEdit(id))
        return;
    HWND edit = Item(id);
    const auto [from, to] = ui::NormalizeSelection(start, end, ::GetWindowTextLengthW(edit));
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
}

void Win32Window::ReplaceSel(int id, std::string_view text)
{
    // The system's edit keeps its limit itself: it takes characters up to
    // the limit and drops the rest.
    if (!IsEdit(id))
        return;
    ui::Quietly quiet(m_quiet);
    const std::wstring wide = Widen(text);
    ::SendMessageW(Item(id), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32Window::ScrollCaret(int id)
{
    if (IsEdit(id))
        ::SendMessageW(Item(id), EM_SCROLLCARET, 0, 0);
}

// --- Progress bars ---------------------------------------------------------------

void Win32Window::SetRange(int id, int lower, int upper)
{
    if (HWND bar = Item(id))
        ::SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

void Win32Window::SetPos(int id, int pos)
{
    // The bar keeps a position outside its range at the nearer end.
    if (HWND bar = Item(id))
        ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

int Win32Window::GetPos(int id) const
{
    const ui::ControlTemplate* c = TemplateOf(id);
    if (!c || c->kind != ControlKind::ProgressBar)
        return 0;
    return static_cast<int>(::SendMessageW(Item(id), PBM_GETPOS, 0, 0));
}

// --- Buttons -----------------------------------------------------------------------

void Win32Window::SetBitmap(int id, std::span<const char* const> xpm)
{
    HWND button = Item(id);
    if (!button)
        return;
    HBITMAP bitmap = MakeFaceBitmap(xpm, ::GetSysColor(COLOR_BTNFACE));
    if (!bitmap)
        return;
    // The caption stays the button's text, for assistive tools.
    ::SetWindowLongW(button, GWL_STYLE, ::GetWindowLongW(button, GWL_STYLE) | BS_BITMAP);
    ::SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    if (auto it = m_bitmaps.find(id); it != m_bitmaps.end())
        ::DeleteObject(it->second);
    m_bitmaps[id] = bitmap;
}

// --- Web views ---------------------------------------------------------------------

bool Win32Window::CreateWebView(int id, ui::WebViewClient& client)
{
    // Where the system's browser control or its engine is missing, the
    // static stays in its place as a blank placeholder, and the rest of the
    // window works without it.
    HWND placeholder = Item(id);
    if (!placeholder || m_browsers.contains(id))
        return false;
    std::unique_ptr<BrowserPane> pane = BrowserPane::Create(placeholder, client);
    if (!pane)
        return false;
    m_browsers[id] = std::move(pane);
    return true;
}

void Win32Window::Navigate(int id, std::string_view url, std::chrono::milliseconds answerWithin)
{
    if (const auto it = m_browsers.find(id); it != m_browsers.end())
        it->second->Navigate(url, answerWithin);
}

// --- The window itself -------------------------------------------------------------

ui::Rect Win32Window::GetClientRect() const
{
    RECT r{};
    if (!m_hwnd || !::GetClientRect(m_hwnd, &r))
        return {};
    return ui::Rect{r.left, r.top, r.right, r.bottom};
}

void Win32Window::SetTitle(std::string_view text)
{
    if (m_hwnd)
        ::SetWindowTextW(m_hwnd, Widen(text).c_str());
}

std::string Win32Window::GetTitle() const
{
    return m_hwnd ? Narrow(WindowText(m_hwnd)) : std::string();
}

void Win32Window::SetIcon(std::span<const char* const> xpm)
{
    HICON icon = MakeIcon(xpm);
    if (!icon || !m_hwnd)
        return;
    ::SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (m_bigIcon)
        ::DestroyIcon(m_bigIcon);
    m_bigIcon = icon;
}

void Win32Window::SetTimer(unsigned id, unsigned periodMs)
{
    if (m_hwnd && ::SetTimer(m_hwnd, id, periodMs, nullptr))
        m_timers.insert(id);
}

void Win32Window::KillTimer(unsigned id)
{
    if (m_hwnd)
        ::KillTimer(m_hwnd, id);
    m_timers.erase(id);
}

bool Win32Window::AppendSystemMenuEntry(unsigned commandId, std::string_view text, bool separated, bool)
{
    HMENU menu = m_hwnd ? ::GetSystemMenu(m_hwnd, FALSE) : nullptr;
    if (!menu)
        return false;
    if (separated)
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, commandId, Widen(text).c_str());
    return true;
}

// Windows draws a check mark on any entry that has one set.
void Win32Window::SetSystemMenuEntryState(unsigned commandId, bool enabled, bool checked)
{
    HMENU menu = m_hwnd ? ::GetSystemMenu(m_hwnd, FALSE) : nullptr;
    if (!menu)
        return;
    ::EnableMenuItem(menu, commandId, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    ::CheckMenuItem(menu, commandId, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32Window::EndDialog(int result)
{
    if (m_ended || !m_hwnd)
        return;
    m_ended = true;
    m_result = result;
    ::EndDialog(m_hwnd, result);
}

// --- Text size and the pointer -----------------------------------------------------

ui::Size Win32Window::GetTextExtent(int id) const
{
    HWND control = Item(id);
    if (!control)
        return {};
    const std::wstring text = WindowText(control);
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return ui::Size{size.cx, size.cy};
}

bool Win32Window::IsMouseOver(int id) const
{
    HWND control = Item(id);
    POINT p{};
    RECT r{};
    return control && ::IsWindowVisible(control) && ::GetCursorPos(&p) && ::GetWindowRect(control, &r) &&
           ::PtInRect(&r, p);
}

} // namespace ui_win32
