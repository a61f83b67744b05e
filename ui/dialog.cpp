#include "ui/dialog.h"

#include "ui/backend.h"
#include "ui/window_impl.h"

#include <algorithm>

namespace ui {

namespace {
// The platform timer's bounds: shorter periods run at the minimum, so a
// period of 0 never spins the thread; longer ones are cut to the maximum.
constexpr unsigned kTimerMinimumMs = 10;
constexpr unsigned kTimerMaximumMs = 0x7FFFFFFF;
} // namespace

Dialog::Dialog(const DialogTemplate& tmpl) : m_template(tmpl), m_alive(std::make_shared<Dialog*>(this))
{
}

Dialog::~Dialog()
{
    *m_alive = nullptr;
    if (m_window)
        m_window->DialogDeleted();
}

int Dialog::DoModal()
{
    return CurrentBackend().RunModal(*this);
}

bool Dialog::UpdateData(bool saveAndValidate)
{
    if (!m_window)
        return false;
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void Dialog::SetTimer(unsigned id, unsigned periodMs)
{
    if (m_window)
        m_window->SetTimer(id, std::clamp(periodMs, kTimerMinimumMs, kTimerMaximumMs));
}

void Dialog::SetWindowText(std::string_view text)
{
    if (m_window)
        m_window->SetTitle(text);
}

std::string Dialog::GetWindowText() const
{
    return m_window ? m_window->GetTitle() : std::string();
}

void Dialog::KillTimer(unsigned id)
{
    if (m_window)
        m_window->KillTimer(id);
}

void Dialog::EndDialog(int result)
{
    if (m_window)
        m_window->EndDialog(result);
}

void Dialog::PostMessage(const Message& message)
{
    std::weak_ptr<Dialog*> target = m_alive;
    CurrentBackend().Post([target, message] {
        if (auto alive = target.lock(); alive && *alive && (*alive)->m_window)
            (*alive)->Dispatch(message);
    });
}

void Dialog::AttachWindow(WindowImpl* window)
{
    m_window = window;
}

bool Dialog::InitDialog()
{
    return OnInitDialog();
}

std::intptr_t Dialog::Dispatch(const Message& message)
{
    if (!m_window)
        return 0;
    // Timer ticks and the program's own posted messages (a port's arrival
    // report) run without the user doing anything.
    const bool background = message.kind == Msg::Timer || message.kind == Msg::App;
    m_backgroundDepth += background ? 1 : 0;
    const std::intptr_t result = WindowProc(message);
    m_backgroundDepth -= background ? 1 : 0;
    return result;
}

void Dialog::DestroyWindow()
{
    if (!m_window)
        return;
    Dispatch(Message{Msg::Destroy});
    m_window = nullptr;
}

void Dialog::DoDataExchange(DataExchange&)
{
}

bool Dialog::OnInitDialog()
{
    // The template's initialisation data: list items present from creation.
    for (const ControlTemplate& c : m_template.controls)
        for (std::string_view item : c.initialItems)
            m_window->AddString(c.id, item);
    UpdateData(false);
    return true;
}

void Dialog::OnOK()
{
    EndDialog(IDOK);
}

void Dialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

std::intptr_t Dialog::WindowProc(const Message& message)
{
    return Default(message);
}

std::intptr_t Dialog::Default(const Message& message)
{
    switch (message.kind) {
    case Msg::Command:
        if (message.id == IDOK && message.notify == Notify::Clicked)
            OnOK();
        else if (message.id == IDCANCEL && message.notify == Notify::Clicked)
            OnCancel();
        return 0;
    case Msg::Close:
        OnClose();
        return 0;
    case Msg::QuitRequest:
        Dispatch(Message{Msg::Close});
        return 0;
    case Msg::SysCommand:
        OnSysCommand(static_cast<unsigned>(message.wParam), message.lParam);
        return 0;
    default:
        return 0;
    }
}

void Dialog::OnClose()
{
    // A dialog's close is its cancel command.
    Dispatch(Message{Msg::Command, IDCANCEL, Notify::Clicked});
}

void Dialog::OnSysCommand(unsigned id, std::intptr_t)
{
    if ((id & 0xFFF0) == SC_CLOSE)
        Dispatch(Message{Msg::Close});
}

void Dialog::OnTimer(unsigned)
{
}

void Dialog::OnDestroy()
{
}

void Dialog::ReportFieldFailure(int id, std::string_view message)
{
    // A failing field is reported at most once while its box is open, and a
    // periodic refresh does not report again the very text the user was
    // already told about; otherwise every tick would raise a new box and
    // pull the focus back into the field while the user types elsewhere.
    if (m_failureBoxOpen)
        return;
    std::string text = m_window->GetText(id);
    if (IsBackgroundDispatch() && m_lastFailure && m_lastFailure->first == id && m_lastFailure->second == text)
        return;
    m_lastFailure.emplace(id, std::move(text));
    m_failureBoxOpen = true;
    AfxMessageBox(message);
    m_failureBoxOpen = false;
    if (m_window) {
        m_window->SetFocus(id);
        m_window->SetSel(id, 0, -1);
    }
}

void Dialog::RememberGivenText(int id, const std::string& value, std::string shown)
{
    if (shown == value)
        m_givenTexts.erase(id);
    else
        m_givenTexts[id] = GivenText{value, std::move(shown)};
}

const std::string* Dialog::UntouchedText(int id, std::string_view shown) const
{
    const auto it = m_givenTexts.find(id);
    return it != m_givenTexts.end() && it->second.shown == shown ? &it->second.value : nullptr;
}

void Dialog::ClearFieldFailure(int id)
{
    if (m_lastFailure && m_lastFailure->first == id)
        m_lastFailure.reset();
}

} // namespace ui
