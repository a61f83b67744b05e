#include "ui_wx/paste_scroll.h"

#include <gtk/gtk.h>
#include <wx/textctrl.h>

namespace ui_wx {

namespace {

// Set on the view from a paste the user asked for until the paste is in.
constexpr const char* kScrollAfterPaste = "vantrel-scroll-after-paste";
// Set on the view while its scroll waits for the layout.
constexpr const char* kScrollPending = "vantrel-scroll-pending";

// Below the view's own background layout (GTK runs it just after redrawing),
// so this runs once every line is laid out and the scroll costs little.
constexpr int kAfterLayoutPriority = G_PRIORITY_DEFAULT_IDLE;

GtkTextView* TextViewOf(wxTextCtrl& box)
{
    // A multi-line text control is a scrolled window around its text view.
    auto* widget = static_cast<GtkWidget*>(box.GetHandle());
    if (widget && GTK_IS_SCROLLED_WINDOW(widget))
        widget = gtk_bin_get_child(GTK_BIN(widget));
    return widget && GTK_IS_TEXT_VIEW(widget) ? GTK_TEXT_VIEW(widget) : nullptr;
}

gboolean ScrollToCaret(gpointer data)
{
    auto* view = static_cast<GtkTextView*>(data);
    g_object_set_data(G_OBJECT(view), kScrollPending, nullptr);
    // A view already taken down has nothing left to show.
    if (gtk_widget_get_realized(GTK_WIDGET(view))) {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
        gtk_text_view_scroll_mark_onscreen(view, gtk_text_buffer_get_insert(buffer));
    }
    return G_SOURCE_REMOVE;
}

void OnPasteAsked(GtkTextView* view, gpointer)
{
    g_object_set_data(G_OBJECT(view), kScrollAfterPaste, view);
}

void OnPasteDone(GtkTextBuffer*, GtkClipboard*, gpointer data)
{
    auto* view = static_cast<GtkTextView*>(data);
    if (!g_object_get_data(G_OBJECT(view), kScrollAfterPaste))
        return; // a paste with the middle button leaves the view where it is
    g_object_set_data(G_OBJECT(view), kScrollAfterPaste, nullptr);
    if (g_object_get_data(G_OBJECT(view), kScrollPending))
        return;
    g_object_set_data(G_OBJECT(view), kScrollPending, view);
    g_idle_add_full(kAfterLayoutPriority, ScrollToCaret, g_object_ref(view), g_object_unref);
}

} // namespace

void ScrollAfterPasteWhenLaidOut(wxTextCtrl& box)
{
    GtkTextView* view = TextViewOf(box);
    if (!view)
        return;
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
    // The view's own handler scrolls at once; without it found, it stays.
    const guint pasteDone = g_signal_lookup("paste-done", GTK_TYPE_TEXT_BUFFER);
    const auto matching = static_cast<GSignalMatchType>(G_SIGNAL_MATCH_ID | G_SIGNAL_MATCH_DATA);
    if (g_signal_handlers_block_matched(buffer, matching, pasteDone, 0, nullptr, nullptr, view) == 0)
        return;
    g_signal_connect(view, "paste-clipboard", G_CALLBACK(OnPasteAsked), nullptr);
    g_signal_connect(buffer, "paste-done", G_CALLBACK(OnPasteDone), view);
}

} // namespace ui_wx
