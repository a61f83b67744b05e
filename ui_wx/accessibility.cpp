#include "ui_wx/accessibility.h"

#include "ui_wx/caption_text.h"

#include <gtk/gtk.h>
#include <wx/window.h>

namespace ui_wx {

namespace {

// The widget that takes the focus: a multi-line text control is a scrolled
// window around its text view.
GtkWidget* FocusWidget(wxWindow& control)
{
    GtkWidget* widget = static_cast<GtkWidget*>(control.GetHandle());
    if (widget && GTK_IS_SCROLLED_WINDOW(widget)) {
        if (GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget)))
            return child;
    }
    return widget;
}

} // namespace

void SetAccessibleName(wxWindow& control, std::string_view name)
{
    GtkWidget* widget = FocusWidget(control);
    if (!widget)
        return;
    if (AtkObject* accessible = gtk_widget_get_accessible(widget))
        atk_object_set_name(accessible, std::string(name).c_str());
}

std::string AccessibleName(wxWindow& control)
{
    GtkWidget* widget = FocusWidget(control);
    AtkObject* accessible = widget ? gtk_widget_get_accessible(widget) : nullptr;
    const char* name = accessible ? atk_object_get_name(accessible) : nullptr;
    return name ? name : "";
}

void TieLabelToControl(wxWindow& label, wxWindow& control, std::string_view caption)
{
    GtkWidget* labelWidget = static_cast<GtkWidget*>(label.GetHandle());
    GtkWidget* target = FocusWidget(control);
    if (labelWidget && target && GTK_IS_LABEL(labelWidget))
        gtk_label_set_mnemonic_widget(GTK_LABEL(labelWidget), target);
    SetAccessibleName(control, AccessibleNameFromLabel(caption));
}

} // namespace ui_wx
