// Static texts of a wx dialog window shown as web links, and tooltips.
#include "ui_wx/link_label.h"
#include "ui_wx/wx_text.h"
#include "ui_wx/wx_window.h"

#include <algorithm>
#include <gtk/gtk.h>
#include <string>

#include <wx/utils.h>

namespace ui_wx {

namespace {

// The sibling with a tip of its own under a point of the parent, if any.
gboolean ForwardTipQuery(GtkWidget* box, gint x, gint y, gboolean, GtkTooltip* tooltip, gpointer)
{
    GtkAllocation boxArea;
    gtk_widget_get_allocation(box, &boxArea);
    struct Query {
        GtkWidget* box;
        GdkPoint point;
        GtkWidget* found;
    } query{box, {boxArea.x + x, boxArea.y + y}, nullptr};
    gtk_container_forall(
        GTK_CONTAINER(gtk_widget_get_parent(box)),
        [](GtkWidget* child, gpointer data) {
            auto* q = static_cast<Query*>(data);
            GtkAllocation area;
            gtk_widget_get_allocation(child, &area);
            if (child != q->box && !GTK_IS_FRAME(child) && gtk_widget_get_has_tooltip(child) &&
                gtk_widget_get_visible(child) && q->point.x >= area.x && q->point.x < area.x + area.width &&
                q->point.y >= area.y && q->point.y < area.y + area.height)
                q->found = child;
        },
        &query);
    if (!query.found)
        return FALSE;
    gchar* text = gtk_widget_get_tooltip_text(query.found);
    gtk_tooltip_set_text(tooltip, text);
    const bool shown = text != nullptr;
    g_free(text);
    return shown;
}

// A group box is the controls' sibling, not their parent, and GTK looks
// for the widget under the pointer among siblings in the order they were
// made, so a box made before its controls takes their tips: boxes hand
// tip queries on to the control under the pointer.
void LetGroupBoxesPassTips(GtkWidget* control)
{
    GtkWidget* parent = gtk_widget_get_parent(control);
    if (!parent || !GTK_IS_CONTAINER(parent))
        return;
    gtk_container_forall(
        GTK_CONTAINER(parent),
        [](GtkWidget* child, gpointer) {
            if (!GTK_IS_FRAME(child) || g_object_get_data(G_OBJECT(child), "vantrel-passes-tips"))
                return;
            g_object_set_data(G_OBJECT(child), "vantrel-passes-tips", child);
            gtk_widget_set_has_tooltip(child, TRUE);
            g_signal_connect(child, "query-tooltip", G_CALLBACK(ForwardTipQuery), nullptr);
        },
        nullptr);
}

} // namespace

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
        link = new LinkLabel(*m_frame, id, label->GetLabel(), label->GetPosition(), label->GetSize());
        wxFont font = label->GetFont();
        font.SetUnderlined(underlined);
        link->SetFont(font);
        link->MoveAfterInTabOrder(label);
        std::replace(m_created.begin(), m_created.end(), label, static_cast<wxWindow*>(link));
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
    wxWindow* w = Control(id);
    if (!w)
        return;
    if (text.empty())
        w->UnsetToolTip(); // nothing to show: no empty tip box either
    else
        w->SetToolTip(ToWx(text));
    if (auto* widget = static_cast<GtkWidget*>(w->GetHandle()); widget && !text.empty())
        LetGroupBoxesPassTips(widget);
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
