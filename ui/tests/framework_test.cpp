// The dialog framework's timers, message boxes and message map on the
// headless back end.
#include "ui/dialog.h"
#include "ui_headless/headless_backend.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr int kButton = 10;

const std::array<ui::ControlTemplate, 1> kControls = {{
    {kButton, ui::ControlKind::PushButton, "Go", ui::RectFromSize(5, 5, 40, 14), ui::kTabStop},
}};
const ui::DialogTemplate kTemplate = {1, "Test", 100, 50, false, kControls};

class TickDialog : public ui::MappedDialog<TickDialog> {
public:
    TickDialog() : MappedDialog(kTemplate) {}

    static const ui::MessageMap<TickDialog>& GetMessageMap()
    {
        static const ui::MessageMap<TickDialog> map{
            ui::MapTimer(&TickDialog::OnTimer),
            ui::MapCommand(kButton, ui::Notify::Clicked, &TickDialog::OnGo),
        };
        return map;
    }

    void OnTimer(unsigned id)
    {
        ticks.push_back({id, backend->Now()});
        if (onTick)
            onTick(id);
    }
    void OnGo() { clicks++; }

    struct Tick {
        unsigned id;
        std::uint64_t at;
        bool operator==(const Tick&) const = default;
    };
    std::vector<Tick> ticks;
    std::function<void(unsigned)> onTick;
    ui::headless::HeadlessBackend* backend = nullptr;
    int clicks = 0;
};

class FrameworkTest : public ::testing::Test {
protected:
    FrameworkTest()
    {
        dlg.backend = &ui;
        ui.RunModal(dlg);
    }
    ui::headless::HeadlessBackend ui;
    TickDialog dlg;
};

using Tick = TickDialog::Tick;

} // namespace

TEST_F(FrameworkTest, TimersTickEveryPeriodAndRestartWhenSetAgain)
{
    dlg.SetTimer(1, 100);
    ui.Advance(250);
    EXPECT_EQ(dlg.ticks, (std::vector<Tick>{{1, 100}, {1, 200}}));
    dlg.SetTimer(1, 300); // restarts from now with the new period
    ui.Advance(400);
    EXPECT_EQ(dlg.ticks.back(), (Tick{1, 550}));
    EXPECT_EQ(dlg.ticks.size(), 3u);
    dlg.KillTimer(1);
    dlg.KillTimer(1); // a timer that is not running is ignored
    ui.Advance(1000);
    EXPECT_EQ(dlg.ticks.size(), 3u);
}

TEST_F(FrameworkTest, TicksDueWhileBusyComeOnceAndAreNotMadeUp)
{
    dlg.SetTimer(2, 100);
    ui.Sleep(1000); // the thread is blocked: ten periods pass unserved
    ui.Advance(0);
    EXPECT_EQ(dlg.ticks, (std::vector<Tick>{{2, 1000}}));
    ui.Advance(100);
    EXPECT_EQ(dlg.ticks.back(), (Tick{2, 1100}));
    EXPECT_EQ(dlg.ticks.size(), 2u);
}

TEST_F(FrameworkTest, PeriodsAreClampedToThePlatformRange)
{
    dlg.SetTimer(1, 0);
    dlg.SetTimer(2, 0xFFFFFFFFu);
    EXPECT_EQ(ui.WindowOf(dlg).TimerPeriod(1), 10u);
    EXPECT_EQ(ui.WindowOf(dlg).TimerPeriod(2), 0x7FFFFFFFu);
}

TEST_F(FrameworkTest, TicksAreServedWhileAMessageBoxIsOpen)
{
    dlg.SetTimer(1, 100);
    ui.SetBoxResponder([&](const auto&) { ui.Advance(250); });
    dlg.onTick = [&](unsigned) {
        if (dlg.ticks.size() == 1)
            ui::AfxMessageBox("busy");
    };
    ui.Advance(100);
    // The first tick opened a box; two more ticks came while it was open.
    EXPECT_EQ(dlg.ticks, (std::vector<Tick>{{1, 100}, {1, 200}, {1, 300}}));
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text, "busy");
    EXPECT_EQ(ui.OpenBoxes(), 0);
}

TEST_F(FrameworkTest, DisabledControlsTakeNoClicksAndPostedMessagesArrive)
{
    auto& w = ui.WindowOf(dlg);
    w.Click(kButton);
    w.Enable(kButton, false);
    w.Click(kButton);
    EXPECT_EQ(dlg.clicks, 1);
    dlg.PostMessage(ui::Message{ui::Msg::Command, kButton, ui::Notify::Clicked});
    EXPECT_EQ(dlg.clicks, 1);
    ui.RunPosted();
    EXPECT_EQ(dlg.clicks, 2);
}

TEST_F(FrameworkTest, TheCloseBoxEndsADialogThroughItsCancelCommand)
{
    dlg.SetTimer(1, 100);
    ui.WindowOf(dlg).CloseBox();
    EXPECT_TRUE(ui.WindowOf(dlg).Destroyed());
    EXPECT_EQ(ui.WindowOf(dlg).Result(), ui::IDCANCEL);
    ui.Advance(1000);
    EXPECT_TRUE(dlg.ticks.empty());
}
