#pragma once

// What every window back end owes the dialog framework, written once against
// ui::WindowImpl and run on each back end that can run here (headless, wx
// under Xvfb, Win32 under Wine). Each back end's test instantiates the suite
// with its own traits:
//
//   struct Traits {
//       // Where the back end cannot do what the others do, it says so here
//       // and the assertion takes its answer, never a looser one.
//       static constexpr bool kExactClock;          // virtual time: tick counts are exact
//       static constexpr int kIndeterminateReadsAs; // SetCheck(2) on an automatic box
//       static constexpr std::string_view kLoneLineFeedReadsAs; // "\n" given to a multi-line edit
//       // Makes the dialog's window from its template, initialises it and
//       // runs body on the window's thread while the window stands, the
//       // messages of the setup forgotten; the window is gone afterwards.
//       static void Run(ContractDialog& dialog, const std::function<void(ui::WindowImpl&)>& body);
//       // Lets the window system work for ms (its clock): ticks, posted tasks.
//       static void Pump(unsigned ms);
//       // What a user's mouse click on a button or check box does.
//       static void Click(ui::WindowImpl& window, int id);
//   };
#include "ui/backend.h"
#include "ui/dialog.h"
#include "ui/edit_rules.h"
#include "ui/window_impl.h"

#include <array>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace ui::contract {

enum : int { kList = 10, kCheck = 11, kButton = 12, kLine = 13, kBox = 14, kBar = 15, kCount = 16 };

inline constexpr std::array<std::string_view, 2> kInitialItems = {"None", "Xmodem"};

inline const std::array<ControlTemplate, 8> kControls = {{
    {kNoId, ControlKind::Label, "Baud &Rate:", RectFromSize(7, 8, 40, 12), kGroup},
    {kList, ControlKind::DropDownList, "", RectFromSize(50, 7, 60, 73), kTabStop, kInitialItems},
    {kCheck, ControlKind::CheckBox, "ASCII Format", RectFromSize(7, 25, 75, 14), kTabStop},
    {kButton, ControlKind::PushButton, "Send", RectFromSize(7, 42, 40, 14), kTabStop},
    {kLine, ControlKind::Edit, "", RectFromSize(50, 42, 60, 12), kTabStop | kBorder},
    {kBox, ControlKind::MultiLineEdit, "", RectFromSize(120, 6, 110, 80), kTabStop | kWantReturn | kVScroll | kBorder},
    {kBar, ControlKind::ProgressBar, "", RectFromSize(7, 62, 100, 11), kBorder},
    {kCount, ControlKind::StaticText, "TX: 0 bytes", RectFromSize(7, 78, 60, 11), kSunken},
}};

inline const DialogTemplate kTemplate = {600, "Window contract", 240, 95, true, kControls};

// Writes down every message the dialog gets, with the check box's state at
// that moment, then handles it the framework's way.
class ContractDialog : public Dialog {
public:
    ContractDialog() : Dialog(kTemplate) {}

    struct Seen {
        Message message;
        int checkAtDispatch;
    };
    std::vector<Seen> seen;
    // Runs at the end of the dialog's initialisation, for back ends whose
    // window exists only inside a modal run.
    std::function<void()> onInit;

    int Count(Msg kind, int id = -1) const
    {
        int n = 0;
        for (const Seen& s : seen)
            n += s.message.kind == kind && (id < 0 || s.message.id == id) ? 1 : 0;
        return n;
    }

protected:
    bool OnInitDialog() override
    {
        Dialog::OnInitDialog();
        if (onInit)
            onInit();
        return true;
    }
    std::intptr_t WindowProc(const Message& m) override
    {
        seen.push_back({m, Window() ? Window()->GetCheck(kCheck) : -1});
        return Default(m);
    }
};

template <typename Traits>
class WindowContract : public ::testing::Test {
protected:
    void Run(const std::function<void(WindowImpl&)>& body) { Traits::Run(m_dialog, body); }
    static void Pump(unsigned ms) { Traits::Pump(ms); }

    ContractDialog m_dialog;
};

TYPED_TEST_SUITE_P(WindowContract);

// The program's own changes are not the user's: the dialog hears nothing of
// them (ui/quietly.h), while a user's click reaches it with the box already
// toggled.
TYPED_TEST_P(WindowContract, ProgramChangesRaiseNoNotificationsButAUsersClickDoes)
{
    this->Run([this](WindowImpl& w) {
        w.SetCheck(kCheck, 1);
        w.SetCurSel(kList, 1);
        w.SetText(kLine, "250");
        w.SetText(kBox, "text");
        w.SetSel(kBox, 0, -1);
        w.ReplaceSel(kBox, "other");
        w.SetLimitText(kBox, 3);
        w.SetPos(kBar, 10);
        w.SetText(kCount, "TX: 1 bytes");
        this->Pump(30);
        EXPECT_EQ(this->m_dialog.Count(Msg::Command), 0);

        TypeParam::Click(w, kCheck);
        TypeParam::Click(w, kButton);
        this->Pump(30);
        const auto& seen = this->m_dialog.seen;
        ASSERT_EQ(this->m_dialog.Count(Msg::Command), 2);
        EXPECT_EQ(seen[0].message.id, kCheck);
        EXPECT_EQ(seen[0].message.notify, Notify::Clicked);
        EXPECT_EQ(seen[0].checkAtDispatch, 0);
        EXPECT_EQ(w.GetCheck(kCheck), 0);
        EXPECT_EQ(seen[1].message.id, kButton);
        EXPECT_EQ(seen[1].message.notify, Notify::Clicked);
    });
}

TYPED_TEST_P(WindowContract, CheckBoxesHoldWhatTheProgramAndTheUserGiveThem)
{
    this->Run([](WindowImpl& w) {
        EXPECT_EQ(w.GetCheck(kCheck), 0);
        w.SetCheck(kCheck, 1);
        EXPECT_EQ(w.GetCheck(kCheck), 1);
        w.SetCheck(kCheck, 2);
        EXPECT_EQ(w.GetCheck(kCheck), TypeParam::kIndeterminateReadsAs);
        w.SetCheck(kCheck, 0);
        EXPECT_EQ(w.GetCheck(kCheck), 0);
        TypeParam::Click(w, kCheck);
        EXPECT_EQ(w.GetCheck(kCheck), 1);
        TypeParam::Click(w, kCheck);
        EXPECT_EQ(w.GetCheck(kCheck), 0);
        EXPECT_EQ(w.GetCheck(kButton), 0); // not a check box
    });
}

TYPED_TEST_P(WindowContract, DropDownListKeepsOrderAndClearsSelectionOutsideTheList)
{
    this->Run([](WindowImpl& w) {
        EXPECT_EQ(w.GetCount(kList), 2); // the template's items
        EXPECT_EQ(w.GetItemText(kList, 1), "Xmodem");
        EXPECT_EQ(w.AddString(kList, "1K Xmodem"), 2);
        EXPECT_EQ(w.AddString(kList, "Aardvark"), 3); // not sorted
        EXPECT_EQ(w.GetItemText(kList, 3), "Aardvark");
        EXPECT_EQ(w.GetItemText(kList, 4), "");
        EXPECT_EQ(w.GetItemText(kList, -1), "");
        EXPECT_EQ(w.GetCurSel(kList), -1);
        EXPECT_EQ(w.GetText(kList), "");
        w.SetCurSel(kList, 2);
        EXPECT_EQ(w.GetCurSel(kList), 2);
        EXPECT_EQ(w.GetText(kList), "1K Xmodem");
        w.SetCurSel(kList, 4);
        EXPECT_EQ(w.GetCurSel(kList), -1);
        EXPECT_EQ(w.GetText(kList), "");
        w.SetCurSel(kList, 1);
        w.ResetContent(kList);
        EXPECT_EQ(w.GetCount(kList), 0);
        EXPECT_EQ(w.GetCurSel(kList), -1);
        EXPECT_EQ(w.AddString(kList, "9600"), 0);
        EXPECT_EQ(w.GetCount(kLine), 0); // not a list
    });
}

// Positions count characters, a CR LF line break as two of them, so the
// program's own arithmetic over the text it reads back holds.
TYPED_TEST_P(WindowContract, MultiLineEditKeepsCrLfAndCountsCharacters)
{
    this->Run([](WindowImpl& w) {
        w.SetText(kBox, "one\r\ntwo\r\n");
        EXPECT_EQ(w.GetText(kBox), "one\r\ntwo\r\n");
        w.SetSel(kBox, 5, 6); // the "t" after the break
        w.ReplaceSel(kBox, "T");
        EXPECT_EQ(w.GetText(kBox), "one\r\nTwo\r\n");
        w.SetSel(kBox, 10, -1);
        w.ReplaceSel(kBox, "three\r\n");
        EXPECT_EQ(w.GetText(kBox), "one\r\nTwo\r\nthree\r\n");

        w.SetText(kBox, "one\ntwo");
        EXPECT_EQ(w.GetText(kBox), std::string("one") + std::string(TypeParam::kLoneLineFeedReadsAs) + "two");

        w.SetText(kBox, "\xC3\xA4\xC3\xB6\xC3\xBC"); // three characters, six bytes
        w.SetSel(kBox, 1, 2);
        w.ReplaceSel(kBox, "X");
        EXPECT_EQ(w.GetText(kBox), "\xC3\xA4X\xC3\xBC");
        // A start beyond the end selects the empty place at the end.
        w.SetSel(kBox, 500, -1);
        w.ReplaceSel(kBox, "!");
        EXPECT_EQ(w.GetText(kBox), "\xC3\xA4X\xC3\xBC!");

        // A single-line edit keeps what it is given, byte for byte.
        w.SetText(kLine, "caf\xC3\xA9 \xE2\x90\x81");
        EXPECT_EQ(w.GetText(kLine), "caf\xC3\xA9 \xE2\x90\x81");
    });
}

TYPED_TEST_P(WindowContract, ReplaceSelTakesCharactersUpToTheLimit)
{
    this->Run([](WindowImpl& w) {
        EXPECT_EQ(w.GetLimitText(kBox), kLargestTextLimit);
        EXPECT_EQ(w.GetLimitText(kLine), kLargestTextLimit);
        w.SetLimitText(kBox, 10);
        EXPECT_EQ(w.GetLimitText(kBox), 10);
        w.SetSel(kBox, 0, -1);
        w.ReplaceSel(kBox, "0123456789ABC");
        EXPECT_EQ(w.GetText(kBox), "0123456789");
        w.SetSel(kBox, 10, -1);
        w.ReplaceSel(kBox, "more");
        EXPECT_EQ(w.GetText(kBox), "0123456789");
        w.SetSel(kBox, 2, 5); // replacing three makes room for three
        w.ReplaceSel(kBox, "abcdef");
        EXPECT_EQ(w.GetText(kBox), "01abc56789");
        // The limit counts characters, not bytes.
        w.SetLimitText(kLine, 3);
        w.SetSel(kLine, 0, -1);
        w.ReplaceSel(kLine, "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F");
        EXPECT_EQ(w.GetText(kLine), "\xC3\xA4\xC3\xB6\xC3\xBC");
        w.SetLimitText(kBox, 0);
        EXPECT_EQ(w.GetLimitText(kBox), kLargestTextLimit);
        EXPECT_EQ(w.GetLimitText(kList), 0); // not an edit
    });
}

TYPED_TEST_P(WindowContract, ProgressBarKeepsItsPositionWithinItsRange)
{
    this->Run([](WindowImpl& w) {
        w.SetRange(kBar, 0, 100);
        w.SetPos(kBar, 40);
        EXPECT_EQ(w.GetPos(kBar), 40);
        w.SetPos(kBar, 150);
        EXPECT_EQ(w.GetPos(kBar), 100);
        w.SetPos(kBar, -5);
        EXPECT_EQ(w.GetPos(kBar), 0);
        w.SetRange(kBar, 10, 20);
        w.SetPos(kBar, 15);
        EXPECT_EQ(w.GetPos(kBar), 15);
        w.SetPos(kBar, 5);
        EXPECT_EQ(w.GetPos(kBar), 10);
        EXPECT_EQ(w.GetPos(kBox), 0); // not a progress bar
    });
}

TYPED_TEST_P(WindowContract, ControlsAreEnabledShownMovedAndFocusedAsTold)
{
    this->Run([this](WindowImpl& w) {
        EXPECT_TRUE(w.IsEnabled(kButton));
        EXPECT_TRUE(w.IsVisible(kButton));
        w.Enable(kButton, false);
        EXPECT_FALSE(w.IsEnabled(kButton));
        w.Enable(kButton, true);
        EXPECT_TRUE(w.IsEnabled(kButton));
        w.Show(kBox, false);
        EXPECT_FALSE(w.IsVisible(kBox));
        w.Show(kBox, true);
        EXPECT_TRUE(w.IsVisible(kBox));

        const Rect moved{200, 10, 300, 60};
        w.Move(kBox, moved);
        EXPECT_EQ(w.GetRect(kBox), moved);

        w.SetFocus(kLine);
        this->Pump(30);
        EXPECT_EQ(w.GetFocus(), kLine);

        EXPECT_EQ(w.GetTitle(), "Window contract");
        w.SetTitle("caf\xC3\xA9");
        EXPECT_EQ(w.GetTitle(), "caf\xC3\xA9");
        EXPECT_EQ(w.GetText(kCount), "TX: 0 bytes");
        w.SetText(kCount, "TX: 12 bytes");
        EXPECT_EQ(w.GetText(kCount), "TX: 12 bytes");

        // An identifier the window does not have: setters do nothing,
        // getters answer empty or zero.
        constexpr int kMissing = 999;
        w.SetText(kMissing, "x");
        w.Enable(kMissing, true);
        w.Show(kMissing, true);
        w.SetCheck(kMissing, 1);
        w.SetCurSel(kMissing, 0);
        EXPECT_EQ(w.GetText(kMissing), "");
        EXPECT_FALSE(w.IsEnabled(kMissing));
        EXPECT_FALSE(w.IsVisible(kMissing));
        EXPECT_EQ(w.GetCheck(kMissing), 0);
        EXPECT_EQ(w.GetCount(kMissing), 0);
        EXPECT_EQ(w.GetCurSel(kMissing), -1);
        EXPECT_EQ(w.GetRect(kMissing), Rect{});
        EXPECT_EQ(w.GetPos(kMissing), 0);
    });
}

TYPED_TEST_P(WindowContract, TimersTickAtTheirPeriodRestartWhenSetAgainAndStop)
{
    this->Run([this](WindowImpl& w) {
        ContractDialog& d = this->m_dialog;
        w.SetTimer(7, 20);
        this->Pump(300);
        const int ticks = d.Count(Msg::Timer, 7);
        if (TypeParam::kExactClock) {
            EXPECT_EQ(ticks, 15);
        } else {
            // A real clock on a shared machine: ticks come late (a busy
            // thread, the system's timer granularity), never more often
            // than their period; the edge of the pump may hold one more.
            EXPECT_GE(ticks, 4);
            EXPECT_LE(ticks, 16);
        }
        EXPECT_EQ(d.Count(Msg::Timer), ticks); // no other timer

        w.SetTimer(7, 5000); // restarts with the new period
        d.seen.clear();
        this->Pump(150);
        EXPECT_EQ(d.Count(Msg::Timer, 7), 0);

        w.SetTimer(7, 20);
        w.SetTimer(8, 20);
        w.KillTimer(7);
        w.KillTimer(9); // not running: ignored
        this->Pump(100);
        EXPECT_EQ(d.Count(Msg::Timer, 7), 0);
        EXPECT_GE(d.Count(Msg::Timer, 8), 1); // the other timer goes on
        w.KillTimer(8);
    });
}

// A thread blocked for ten periods gets one tick when it serves again, not
// ten: the missed periods are not made up.
TYPED_TEST_P(WindowContract, TicksDueWhileTheThreadWasBusyComeOnce)
{
    this->Run([this](WindowImpl& w) {
        w.SetTimer(3, 20);
        CurrentBackend().Sleep(200);
        this->Pump(10);
        EXPECT_EQ(this->m_dialog.Count(Msg::Timer, 3), 1);
        w.KillTimer(3);
    });
}

// Tasks posted from any thread run on the window's thread, in the order
// posted, when the window next serves events: never inside Post.
TYPED_TEST_P(WindowContract, PostedTasksRunLaterOnTheWindowsThreadInOrder)
{
    this->Run([this](WindowImpl&) {
        const std::thread::id windowThread = std::this_thread::get_id();
        std::vector<int> order;
        std::vector<std::thread::id> threads;
        auto task = [&](int n) {
            return [&, n] {
                order.push_back(n);
                threads.push_back(std::this_thread::get_id());
            };
        };
        CurrentBackend().Post(task(1));
        std::thread([&] {
            CurrentBackend().Post(task(2));
            CurrentBackend().Post(task(3));
            this->m_dialog.PostMessage(Message{Msg::DeviceChange});
        }).join();
        EXPECT_TRUE(order.empty());
        EXPECT_EQ(this->m_dialog.Count(Msg::DeviceChange), 0);
        this->Pump(50);
        EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
        for (const std::thread::id& ranOn : threads)
            EXPECT_EQ(ranOn, windowThread);
        EXPECT_EQ(this->m_dialog.Count(Msg::DeviceChange), 1);
    });
}

REGISTER_TYPED_TEST_SUITE_P(WindowContract, ProgramChangesRaiseNoNotificationsButAUsersClickDoes,
                            CheckBoxesHoldWhatTheProgramAndTheUserGiveThem,
                            DropDownListKeepsOrderAndClearsSelectionOutsideTheList,
                            MultiLineEditKeepsCrLfAndCountsCharacters, ReplaceSelTakesCharactersUpToTheLimit,
                            ProgressBarKeepsItsPositionWithinItsRange, ControlsAreEnabledShownMovedAndFocusedAsTold,
                            TimersTickAtTheirPeriodRestartWhenSetAgainAndStop, TicksDueWhileTheThreadWasBusyComeOnce,
                            PostedTasksRunLaterOnTheWindowsThreadInOrder);

} // namespace ui::contract
