// The window contract on the wx back end, on a real (virtual) display.
// Runs under with_xvfb.sh, inside window_test.cpp's main.
#include "ui/tests/window_contract.h"
#include "ui_wx/tests/pump.h"
#include "ui_wx/wx_window.h"

#include <chrono>
#include <memory>
#include <thread>

#include <gtk/gtk.h>
#include <wx/app.h>

namespace {

using ui::contract::ContractDialog;

struct WxTraits {
    // GLib's clock: ticks come late on a busy machine, never early.
    static constexpr bool kExactClock = false;
    static constexpr int kIndeterminateReadsAs = 2;
    // GTK's text view breaks lines at a lone "\n" too; read back, every
    // break is CR LF.
    static constexpr std::string_view kLoneLineFeedReadsAs = "\r\n";

    // The window made directly, shown, without a modal run: the body runs
    // straight on this thread, the toolkit served only by Pump.
    static void Run(ContractDialog& dialog, const std::function<void(ui::WindowImpl&)>& body)
    {
        auto window = std::make_unique<ui_wx::WxWindow>(dialog, nullptr);
        dialog.AttachWindow(window.get());
        window->BeginDelivery();
        dialog.InitDialog();
        window->Frame().Show();
        Pump(50);
        dialog.seen.clear();
        body(*window);
        window->StopTimers();
        dialog.DestroyWindow();
    }

    static void Pump(unsigned ms) { ui_wx_test::Pump(static_cast<int>(ms)); }

    // What the widget does when the user clicks it.
    static void Click(ui::WindowImpl& window, int id)
    {
        wxWindow* control = static_cast<ui_wx::WxWindow&>(window).Control(id);
        gtk_button_clicked(GTK_BUTTON(static_cast<GtkWidget*>(control->GetHandle())));
    }
};

} // namespace

namespace ui::contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Wx, WindowContract, WxTraits);
} // namespace ui::contract
