#include "ui/controls.h"

#include "ui/dialog.h"
#include "ui/window_impl.h"

namespace ui {

void Control::Bind(Dialog& dialog, int id)
{
    m_dialog = &dialog;
    m_id = id;
    PreSubclassWindow();
}

WindowImpl* Control::Window() const
{
    return m_dialog ? m_dialog->Window() : nullptr;
}

void Control::EnableWindow(bool enabled)
{
    if (auto* w = Window())
        w->Enable(m_id, enabled);
}

bool Control::IsWindowEnabled() const
{
    auto* w = Window();
    return w && w->IsEnabled(m_id);
}

void Control::ShowWindow(bool visible)
{
    if (auto* w = Window())
        w->Show(m_id, visible);
}

bool Control::IsWindowVisible() const
{
    auto* w = Window();
    return w && w->IsVisible(m_id);
}

void Control::SetWindowText(std::string_view text)
{
    if (auto* w = Window())
        w->SetText(m_id, text);
}

std::string Control::GetWindowText() const
{
    auto* w = Window();
    return w ? w->GetText(m_id) : std::string();
}

Rect Control::GetRect() const
{
    auto* w = Window();
    return w ? w->GetRect(m_id) : Rect{};
}

void Control::MoveWindow(const Rect& rect)
{
    if (auto* w = Window())
        w->Move(m_id, rect);
}

void Control::SetToolTip(std::string_view text)
{
    if (auto* w = Window())
        w->SetToolTip(m_id, text);
}

std::uint32_t Control::GetStyle() const
{
    const ControlTemplate* c = m_dialog ? m_dialog->Template().Find(m_id) : nullptr;
    return c ? c->style : 0;
}

int Button::GetCheck() const
{
    auto* w = Window();
    return w ? w->GetCheck(Id()) : 0;
}

void Button::SetCheck(int state)
{
    if (auto* w = Window())
        w->SetCheck(Id(), state);
}

void Button::SetBitmap(std::span<const char* const> xpm)
{
    if (auto* w = Window())
        w->SetBitmap(Id(), xpm);
}

void ComboBox::ResetContent()
{
    if (auto* w = Window())
        w->ResetContent(Id());
}

int ComboBox::AddString(std::string_view text)
{
    auto* w = Window();
    return w ? w->AddString(Id(), text) : -1;
}

int ComboBox::GetCount() const
{
    auto* w = Window();
    return w ? w->GetCount(Id()) : 0;
}

int ComboBox::GetCurSel() const
{
    auto* w = Window();
    return w ? w->GetCurSel(Id()) : -1;
}

void ComboBox::SetCurSel(int row)
{
    if (auto* w = Window())
        w->SetCurSel(Id(), row);
}

std::string ComboBox::GetLBText(int row) const
{
    auto* w = Window();
    return w ? w->GetItemText(Id(), row) : std::string();
}

int Edit::GetLimitText() const
{
    auto* w = Window();
    return w ? w->GetLimitText(Id()) : 0;
}

void Edit::LimitText(int limit)
{
    if (auto* w = Window())
        w->SetLimitText(Id(), limit);
}

void Edit::SetSel(int start, int end)
{
    if (auto* w = Window())
        w->SetSel(Id(), start, end);
}

void Edit::ReplaceSel(std::string_view text)
{
    if (auto* w = Window())
        w->ReplaceSel(Id(), text);
}

void Edit::ScrollCaret()
{
    if (auto* w = Window())
        w->ScrollCaret(Id());
}

void ProgressBar::SetRange(int lower, int upper)
{
    if (auto* w = Window())
        w->SetRange(Id(), lower, upper);
}

void ProgressBar::SetPos(int pos)
{
    if (auto* w = Window())
        w->SetPos(Id(), pos);
}

int ProgressBar::GetPos() const
{
    auto* w = Window();
    return w ? w->GetPos(Id()) : 0;
}

} // namespace ui
