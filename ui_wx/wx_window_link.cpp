// Static texts of a wx dialog window shown as web links.
#include "ui_wx/link_label.h"
#include "ui_wx/wx_text.h"
#include "ui_wx/wx_window.h"

#include <algorithm>

#include <wx/utils.h>

namespace ui_wx {

void WxWindow::MakeLink(int id, bool underlined, ui::LinkListener* listener)
{
    ControlState* s = Find(id);
    if (!s)
        return;
    auto* link = dynamic_cast<LinkLabel*>(s->window);
    if (!link) {
        if (s->tmpl->kind != ui::ControlKind::StaticText && s->tmpl->kind != ui::ControlKind::Label)
            return;
        // GTK's label has no window of its own, so it can neither show its
        // own cursor nor see the mouse: a drawn control takes its place.
        wxWindow* label = s->window;
        link = new LinkLabel(*frame_, id, label->GetLabel(), label->GetPosition(), label->GetSize());
        wxFont font = label->GetFont();
        font.SetUnderlined(underlined);
        link->SetFont(font);
        link->MoveAfterInTabOrder(label);
        std::replace(created_.begin(), created_.end(), label, static_cast<wxWindow*>(link));
        s->window = link;
        label->Destroy();
    } else {
        wxFont font = link->GetFont();
        font.SetUnderlined(underlined);
        link->SetFont(font);
    }
    link->SetListener(listener);
}

void WxWindow::SetTextColour(int id, ui::COLORREF colour)
{
    if (auto* link = dynamic_cast<LinkLabel*>(Control(id)))
        link->SetTextColour(wxColour(ui::RedOf(colour), ui::GreenOf(colour), ui::BlueOf(colour)));
}

void WxWindow::SetToolTip(int id, std::string_view text)
{
    if (wxWindow* w = Control(id))
        w->SetToolTip(ToWx(text));
}

ui::Size WxWindow::GetTextExtent(int id) const
{
    const wxWindow* w = Control(id);
    if (!w)
        return {};
    const auto* link = dynamic_cast<const LinkLabel*>(w);
    const wxSize size = link ? link->TextExtent() : w->GetTextExtent(w->GetLabel());
    return ui::Size{size.x, size.y};
}

bool WxWindow::IsMouseOver(int id) const
{
    const wxWindow* w = Control(id);
    return w && w->IsShownOnScreen() && w->GetScreenRect().Contains(wxGetMousePosition());
}

} // namespace ui_wx
