#include "ui/link_static.h"

#include "ui/backend.h"
#include "ui/link_look.h"
#include "ui/open_address.h"
#include "ui/window_impl.h"

CLinkStatic::CLinkStatic()
    : m_clrNormal(ui::kLinkNormalColour), m_clrFollowed(ui::kLinkFollowedColour),
      m_clrHover(ui::CurrentBackend().HighlightColour())
{
}

CLinkStatic::~CLinkStatic()
{
    // The window may outlive this object: it must stop reporting to it.
    if (auto* w = Window())
        w->MakeLink(Id(), m_bUnderlined, nullptr);
}

void CLinkStatic::PreSubclassWindow()
{
    ui::WindowImpl* w = Window();
    if (!w)
        return;
    if (m_strLink.empty())
        m_strLink = GetWindowText();
    if (GetWindowText().empty())
        SetWindowText(m_strLink);
    w->MakeLink(Id(), m_bUnderlined, this);
    FitToText();
    w->SetToolTip(Id(), m_strLink);
    Repaint();
}

void CLinkStatic::SetLink(std::string_view address)
{
    m_strLink = address;
    if (auto* w = Window()) {
        FitToText();
        w->SetToolTip(Id(), m_strLink);
    }
}

void CLinkStatic::MarkFollowed(bool followed)
{
    m_bFollowed = followed;
    Repaint();
}

ui::COLORREF CLinkStatic::TextColour() const
{
    return ui::LinkTextColour({m_clrNormal, m_clrFollowed, m_clrHover}, m_bHover, m_bFollowed);
}

void CLinkStatic::FitToText()
{
    ui::WindowImpl* w = Window();
    if (!w || !m_bFitToText)
        return;
    MoveWindow(ui::FitRectToText(GetRect(), w->GetTextExtent(Id()), GetStyle()));
}

void CLinkStatic::Repaint()
{
    if (auto* w = Window())
        w->SetTextColour(Id(), TextColour());
}

void CLinkStatic::OnLinkHover(bool inside)
{
    if (inside == m_bHover)
        return;
    m_bHover = inside;
    Repaint();
}

void CLinkStatic::OnLinkClicked()
{
    const int result = ui::OpenAddress(m_strLink);
    m_bFollowed = ui::OpenSucceeded(result);
    if (m_bFollowed) {
        MarkFollowed(true);
        return;
    }
    Repaint();
    ui::CurrentBackend().MessageBeep();
    ui::ShowOpenError(result);
    // The box held the mouse, so no leave was reported while it was open:
    // the colour follows where the mouse is now.
    if (auto* w = Window())
        OnLinkHover(w->IsMouseOver(Id()));
}
