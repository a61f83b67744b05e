#include "ui_wx/compact_style.h"

#include <gtk/gtk.h>
#include <wx/window.h>

namespace ui_wx {

namespace {

constexpr const char* kCompactClass = "vantrel-compact";
constexpr const char* kSunkenClass = "vantrel-sunken";

// Adwaita gives buttons, entries and combo boxes a minimum height of 34 px;
// these rules bring them down to the heights of a classic dialog (about
// 21 px for a button, 19 px for an entry, 22 px for a drop-down list,
// 17 px for a check box) and the text to a size that fits the template's
// widths. A button showing only an image keeps 2 px around it, so an
// 18 px image fits a 25 px button with its border. Nothing else of the
// theme changes.
constexpr const char* kCompactCss = R"css(
.vantrel-compact { font-size: 8pt; font-stretch: condensed; }
.vantrel-compact button { min-height: 0; min-width: 0; padding: 1px 4px; }
.vantrel-compact button.image-button { padding: 2px; }
.vantrel-compact entry { min-height: 0; padding: 0 3px; }
.vantrel-compact combobox button { min-height: 0; padding: 1px 1px 1px 0; }
.vantrel-compact combobox arrow { min-height: 8px; min-width: 8px; }
.vantrel-compact checkbutton { min-height: 0; padding: 0; }
.vantrel-compact check { min-height: 12px; min-width: 12px; margin: 0 4px 0 0; }
.vantrel-compact textview { padding: 0; }
.vantrel-compact frame > label { padding: 0 2px; }
.vantrel-compact progressbar trough, .vantrel-compact progressbar progress { min-height: 9px; }
.vantrel-compact label.vantrel-sunken {
    border-style: solid; border-width: 1px;
    border-color: #9a9996 #ffffff #ffffff #9a9996;
    padding: 0 2px;
}
)css";

GtkStyleContext* StyleOf(wxWindow& window)
{
    return gtk_widget_get_style_context(static_cast<GtkWidget*>(window.GetHandle()));
}

} // namespace

void InstallCompactStyle()
{
    GdkScreen* screen = gdk_screen_get_default();
    if (!screen)
        return;
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, kCompactCss, -1, nullptr);
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    // The screen holds its own reference for the rest of the process.
    g_object_unref(provider);
}

void UseCompactStyle(wxWindow& topLevel)
{
    gtk_style_context_add_class(StyleOf(topLevel), kCompactClass);
}

void UseSunkenFrame(wxWindow& staticText)
{
    gtk_style_context_add_class(StyleOf(staticText), kSunkenClass);
}

} // namespace ui_wx

namespace ui_wx {

void ShowImageOnly(wxWindow& button)
{
    if (auto* widget = static_cast<GtkWidget*>(button.GetHandle()); widget && GTK_IS_BUTTON(widget))
        gtk_button_set_label(GTK_BUTTON(widget), nullptr);
}

int NaturalHeight(wxWindow& control)
{
    GtkWidget* widget = static_cast<GtkWidget*>(control.GetHandle());
    gint minimum = 0;
    gint natural = 0;
    if (widget)
        gtk_widget_get_preferred_height(widget, &minimum, &natural);
    return natural;
}

} // namespace ui_wx

namespace ui_wx {

void TightenListRows(wxWindow& dropDownList)
{
    // The text cell's own side padding costs a drop-down list of template
    // width a few characters; the button around it already pads the text.
    GtkWidget* widget = static_cast<GtkWidget*>(dropDownList.GetHandle());
    if (!widget || !GTK_IS_CELL_LAYOUT(widget))
        return;
    GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(widget));
    for (GList* cell = cells; cell; cell = cell->next)
        g_object_set(cell->data, "xpad", 1, nullptr);
    g_list_free(cells);
}

} // namespace ui_wx
