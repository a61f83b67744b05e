#include "ui_wx/link_label.h"

#include "ui_wx/accessibility.h"
#include "ui_wx/wx_text.h"

#include <gtk/gtk.h>
#include <wx/dcclient.h>

namespace ui_wx {

LinkLabel::LinkLabel(wxWindow& parent, wxWindowID id, const wxString& label, const wxPoint& position,
                     const wxSize& size)
    : wxControl(&parent, id, position, size, wxBORDER_NONE), m_colour(GetForegroundColour())
{
    SetCursor(wxCursor(wxCURSOR_HAND));
    Bind(wxEVT_PAINT, &LinkLabel::OnPaint, this);
    Bind(wxEVT_ENTER_WINDOW, &LinkLabel::OnEnter, this);
    Bind(wxEVT_LEAVE_WINDOW, &LinkLabel::OnLeave, this);
    Bind(wxEVT_LEFT_DOWN, &LinkLabel::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &LinkLabel::OnLeftUp, this);
    if (auto* widget = static_cast<GtkWidget*>(GetHandle()))
        if (AtkObject* accessible = gtk_widget_get_accessible(widget))
            atk_object_set_role(accessible, ATK_ROLE_LINK);
    SetLabel(label);
}

void LinkLabel::SetLabel(const wxString& label)
{
    wxControl::SetLabel(label);
    SetAccessibleName(*this, FromWx(label));
    Refresh();
}

void LinkLabel::SetTextColour(const wxColour& colour)
{
    m_colour = colour;
    Refresh();
    Update();
}

wxSize LinkLabel::TextExtent() const
{
    // The label is shown as it stands: an ampersand is a character, not a
    // mnemonic mark, so an address keeps every character.
    return GetTextExtent(GetLabel());
}

void LinkLabel::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    dc.SetFont(GetFont());
    dc.SetTextForeground(m_colour);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.DrawText(GetLabel(), 0, 0);
}

void LinkLabel::OnEnter(wxMouseEvent& event)
{
    event.Skip();
    if (m_listener)
        m_listener->OnLinkHover(true);
}

void LinkLabel::OnLeave(wxMouseEvent& event)
{
    event.Skip();
    m_pressed = false;
    if (m_listener)
        m_listener->OnLinkHover(false);
}

void LinkLabel::OnLeftDown(wxMouseEvent& event)
{
    event.Skip();
    m_pressed = true;
}

void LinkLabel::OnLeftUp(wxMouseEvent& event)
{
    event.Skip();
    const bool click = m_pressed && GetClientRect().Contains(event.GetPosition());
    m_pressed = false;
    if (click && m_listener)
        m_listener->OnLinkClicked();
}

} // namespace ui_wx
