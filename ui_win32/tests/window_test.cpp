// The Win32 window's modal run, on a real (Wine's or Windows') window
// system. What every back end's controls, timers and posted tasks must do
// is the window contract's (window_contract_test.cpp).
#include "ui/backend.h"
#include "ui/dialog.h"
#include "ui/window_impl.h"
#include "ui_win32/win32_api.h"
#include "ui_win32/win32_backend.h"

#include <array>

#include <gtest/gtest.h>

namespace {

const std::array<ui::ControlTemplate, 1> kControls = {{
    {10, ui::ControlKind::CheckBox, "ASCII Format", ui::RectFromSize(7, 25, 75, 14), ui::kTabStop},
}};

const ui::DialogTemplate kTemplate = {500, "Win32 window test", 200, 80, true, kControls};

constexpr unsigned kEndTimer = 7;

// Ends itself from a tick of its own timer, inside the modal run.
class ProbeDialog : public ui::MappedDialog<ProbeDialog> {
public:
    ProbeDialog() : MappedDialog(kTemplate) {}

    static const ui::MessageMap<ProbeDialog>& GetMessageMap()
    {
        using D = ProbeDialog;
        static const ui::MessageMap<D> map{
            ui::MapTimer<D>(&D::OnTimer),
            ui::MapMessage<D>(ui::Msg::Destroy, &D::OnDestroy),
        };
        return map;
    }

    bool destroyed = false;

protected:
    bool OnInitDialog() override
    {
        MappedDialog::OnInitDialog();
        EXPECT_TRUE(Window()->AppendSystemMenuEntry(16, "&About..."));
        SetTimer(kEndTimer, 20);
        return true;
    }

    // The run's own loop serves the timer; the dialog ends from inside it.
    void OnTimer(unsigned id)
    {
        if (id != kEndTimer)
            return;
        KillTimer(kEndTimer);
        EndDialog(42);
    }

    void OnDestroy() { destroyed = true; }
};

TEST(Win32Window, AModalRunEndsWithTheResultAndTheDestroyMessage)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    ui_win32::Win32Backend backend;
    ui::SetBackend(&backend);
    ProbeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_TRUE(dialog.destroyed);
    ui::SetBackend(nullptr);
}

} // namespace
