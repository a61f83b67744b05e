// The Win32 window against the framework's expectations, on a real
// (Wine's or Windows') window system.
#include "ui/backend.h"
#include "ui/dialog.h"
#include "ui/window_impl.h"
#include "ui_win32/win32_api.h"
#include "ui_win32/win32_backend.h"

#include <array>
#include <atomic>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using ui::ControlKind;

enum : int { kList = 10, kCheck = 11, kLine = 12, kBox = 13, kBar = 14 };

constexpr std::array<std::string_view, 2> kItems = {"None", "Xmodem"};

const std::array<ui::ControlTemplate, 5> kControls = {{
    {kList, ControlKind::DropDownList, "", ui::RectFromSize(7, 7, 48, 73), ui::kTabStop, kItems},
    {kCheck, ControlKind::CheckBox, "ASCII Format", ui::RectFromSize(7, 25, 75, 14), ui::kTabStop},
    {kLine, ControlKind::Edit, "", ui::RectFromSize(7, 45, 48, 12), ui::kTabStop | ui::kBorder},
    {kBox, ControlKind::MultiLineEdit, "", ui::RectFromSize(90, 6, 100, 60),
     ui::kTabStop | ui::kWantReturn | ui::kVScroll | ui::kBorder},
    {kBar, ControlKind::ProgressBar, "", ui::RectFromSize(7, 65, 66, 11), ui::kBorder},
}};

const ui::DialogTemplate kTemplate = {500, "Win32 window test", 200, 80, true, kControls};

constexpr unsigned kCheckTimer = 7;

// Records the messages it gets; the test's steps run in its initialisation
// and its timer, inside the modal run.
class ProbeDialog : public ui::MappedDialog<ProbeDialog> {
public:
    ProbeDialog() : MappedDialog(kTemplate) {}

    static const ui::MessageMap<ProbeDialog>& GetMessageMap()
    {
        using D = ProbeDialog;
        static const ui::MessageMap<D> map{
            {ui::Msg::Command, kCheck, ui::Notify::Clicked,
             [](D& d, const ui::Message&) -> std::intptr_t {
                 ++d.clicks;
                 return 0;
             }},
            {ui::Msg::Command, kLine, ui::Notify::Change,
             [](D& d, const ui::Message&) -> std::intptr_t {
                 ++d.changes;
                 return 0;
             }},
            ui::MapTimer<D>(&D::OnTimer),
            ui::MapMessage<D>(ui::Msg::Destroy, &D::OnDestroy),
        };
        return map;
    }

    int clicks = 0;
    int changes = 0;
    bool destroyed = false;
    std::atomic<bool> posted{false};

protected:
    bool OnInitDialog() override
    {
        MappedDialog::OnInitDialog();
        ui::WindowImpl& w = *Window();
        EXPECT_EQ(w.GetCount(kList), 2);
        w.SetCurSel(kList, 5);
        EXPECT_EQ(w.GetCurSel(kList), -1);
        w.SetCurSel(kList, 1);
        EXPECT_EQ(w.GetText(kList), "Xmodem");

        // The program's own changes come back as no notification.
        w.SetText(kLine, "caf\xC3\xA9 \xE2\x90\x81");
        EXPECT_EQ(w.GetText(kLine), "caf\xC3\xA9 \xE2\x90\x81");
        w.SetCheck(kCheck, 1);
        EXPECT_EQ(w.GetCheck(kCheck), 1);

        // An edit takes any length until a limit is set; then it fills up to it.
        EXPECT_EQ(w.GetLimitText(kBox), 0x7FFFFFFE);
        w.SetLimitText(kBox, 5);
        w.SetText(kBox, "ab");
        w.SetSel(kBox, -1, -1);
        w.SetSel(kBox, 2, -1);
        w.ReplaceSel(kBox, "cdefgh");
        EXPECT_EQ(w.GetText(kBox), "abcde");
        EXPECT_EQ(w.GetLimitText(kBox), 5);

        w.SetRange(kBar, 0, 100);
        w.SetPos(kBar, 150);
        EXPECT_EQ(w.GetPos(kBar), 100);

        const ui::Rect moved = ui::RectFromSize(150, 20, 80, 40);
        w.Move(kBox, moved);
        EXPECT_EQ(w.GetRect(kBox), moved);
        EXPECT_TRUE(w.AppendSystemMenuEntry(16, "&About..."));

        std::thread([this] { ui::CurrentBackend().Post([this] { posted = true; }); }).join();
        SetTimer(kCheckTimer, 20);
        return true;
    }

    void OnTimer(unsigned id)
    {
        if (id != kCheckTimer)
            return;
        KillTimer(kCheckTimer);
        EXPECT_TRUE(posted.load()); // a task from another thread ran on this one
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(clicks, 0);
        // A user's click: the box toggles itself and the dialog hears of it.
        HWND hwnd = ::FindWindowW(L"#32770", L"Win32 window test");
        ::SendMessageW(::GetDlgItem(hwnd, kCheck), BM_CLICK, 0, 0);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(Window()->GetCheck(kCheck), 0);
        EndDialog(42);
    }

    void OnDestroy() { destroyed = true; }
};

TEST(Win32Window, ControlsBehaveAsTheFrameworkExpects)
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
