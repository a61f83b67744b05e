// The main window's template on the real back end. Runs under with_xvfb.sh,
// linked into the window test (whose main starts the toolkit).
#include "res/main_dialog.h"
#include "res/resource_ids.h"
#include "ui/dialog.h"
#include "ui_wx/wx_window.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/app.h>

namespace {

void Settle()
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
    do {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        wxTheApp->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < until);
}

TEST(MainTemplateTest, CountersShowTheirWidestValuesInFull)
{
    ui::Dialog dialog(res::MainDialogTemplate());
    ui_wx::WxWindow window(dialog, nullptr);
    dialog.AttachWindow(&window);
    window.BeginDelivery();
    dialog.InitDialog();
    window.Frame().Show();
    for (const auto& [id, text] :
         {std::pair{res::IDC_TX_COUNT, "TX: 4294967295"}, std::pair{res::IDC_RX_COUNT, "RX: 4294967295"}}) {
        window.SetText(id, text);
        Settle();
        auto* label = static_cast<GtkWidget*>(window.Control(id)->GetHandle());
        gint minimum = 0;
        gint natural = 0;
        gtk_widget_get_preferred_width(label, &minimum, &natural);
        EXPECT_LE(natural, gtk_widget_get_allocated_width(label)) << text;
    }
    dialog.DestroyWindow();
}

} // namespace
