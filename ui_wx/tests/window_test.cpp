// The wx window on a real (virtual) display. Runs under with_xvfb.sh.
#include "ui/backend.h"
#include "ui/dialog.h"
#include "ui/web_view.h"
#include "ui/window_impl.h"
#include "ui_wx/accessibility.h"
#include "ui_wx/compact_style.h"
#include "ui_wx/dialog_geometry.h"
#include "ui_wx/edit_text.h"
#include "ui_wx/quit_signals.h"
#include "ui_wx/web_view.h"
#include "ui_wx/wx_backend.h"
#include "ui_wx/tests/pump.h"
#include "ui_wx/wx_window.h"

#include <array>
#include <chrono>
#include <csignal>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/gauge.h>
#include <wx/html/htmlwin.h>
#include <wx/init.h>
#include <wx/tglbtn.h>

namespace {

using ui::ControlKind;
using ui::Msg;
using ui::Notify;

enum : int {
    kList = 10,
    kCheck = 11,
    kPause = 12,
    kButton = 13,
    kLine = 14,
    kBox = 15,
    kBar = 16,
    kCount = 17,
    kHelp = 18
};

constexpr std::array<std::string_view, 2> kInitialItems = {"None", "Xmodem"};

const std::array<ui::ControlTemplate, 12> kControls = {{
    {ui::kNoId, ControlKind::GroupBox, "Port", ui::RectFromSize(7, 7, 119, 60), 0},
    {ui::kNoId, ControlKind::Label, "Baud &Rate:", ui::RectFromSize(13, 20, 57, 12), ui::kGroup},
    {kList, ControlKind::DropDownList, "", ui::RectFromSize(72, 19, 48, 73), ui::kTabStop, kInitialItems},
    {kCheck, ControlKind::CheckBox, "ASCII Format", ui::RectFromSize(13, 40, 75, 14), ui::kTabStop},
    {kPause, ControlKind::PushLikeCheckBox, "Pause", ui::RectFromSize(70, 70, 39, 14), ui::kTabStop},
    {kButton, ControlKind::PushButton, "Send", ui::RectFromSize(23, 70, 39, 14), ui::kTabStop},
    {ui::kNoId, ControlKind::Label, "TX Cycle(ms)", ui::RectFromSize(13, 90, 57, 12), ui::kGroup},
    {kLine, ControlKind::Edit, "", ui::RectFromSize(72, 90, 48, 12), ui::kTabStop | ui::kBorder},
    {kBox,
     ControlKind::MultiLineEdit,
     "",
     ui::RectFromSize(134, 6, 200, 100),
     ui::kTabStop | ui::kWantReturn | ui::kVScroll,
     {},
     "Received data"},
    {kBar, ControlKind::ProgressBar, "Progress1", ui::RectFromSize(13, 110, 66, 11), ui::kBorder},
    {kCount, ControlKind::StaticText, "TX: 0 bytes", ui::RectFromSize(13, 125, 52, 11), ui::kSunken},
    {kHelp, ControlKind::BitmapButton, "Help", ui::RectFromSize(7, 140, 19, 16), ui::kTabStop},
}};

const ui::DialogTemplate kTemplate = {500, "Vantrel test", 340, 160, true, kControls};

using ui_wx_test::Pump;

// A dialog that writes down every message it gets, with the check state of
// its check box at that moment, then processes it the framework's way.
class RecordingDialog : public ui::Dialog {
public:
    RecordingDialog() : Dialog(kTemplate) {}

    struct Seen {
        ui::Message message;
        int checkAtDispatch;
    };
    std::vector<Seen> seen;
    std::function<void(RecordingDialog&, const ui::Message&)> onMessage;
    std::function<bool(RecordingDialog&)> onInit;

    int Count(Msg kind, int id = -1) const
    {
        int n = 0;
        for (const Seen& s : seen)
            n += s.message.kind == kind && (id < 0 || s.message.id == id) ? 1 : 0;
        return n;
    }
    int Commands() const { return Count(Msg::Command); }

protected:
    bool OnInitDialog() override
    {
        Dialog::OnInitDialog();
        return onInit ? onInit(*this) : true;
    }
    std::intptr_t WindowProc(const ui::Message& m) override
    {
        seen.push_back({m, Window() ? Window()->GetCheck(kCheck) : -1});
        if (onMessage)
            onMessage(*this, m);
        return Default(m);
    }
};

// A dialog window made directly, without a modal run, shown on screen.
class WxWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window = std::make_unique<ui_wx::WxWindow>(m_dialog, nullptr);
        m_dialog.AttachWindow(m_window.get());
        m_window->BeginDelivery();
        m_dialog.InitDialog();
        m_window->Frame().Show();
        Pump(50);
        m_dialog.seen.clear();
    }
    void TearDown() override
    {
        m_window->StopTimers();
        m_dialog.DestroyWindow();
        m_window.reset();
    }
    GtkWidget* Widget(int id) { return static_cast<GtkWidget*>(m_window->Control(id)->GetHandle()); }
    ui::WindowImpl& W() { return *m_window; }

    RecordingDialog m_dialog;
    std::unique_ptr<ui_wx::WxWindow> m_window;
};

TEST_F(WxWindowTest, ProgramChangesSendNoNotificationsButUserActionsDo)
{
    W().SetCheck(kCheck, 1);
    W().SetCheck(kPause, 1);
    W().SetCurSel(kList, 1);
    W().SetText(kLine, "250");
    W().SetSel(kBox, 0, -1);
    W().ReplaceSel(kBox, "text");
    Pump(30);
    EXPECT_EQ(m_dialog.Commands(), 0);

    // What a user's click does to the widgets.
    gtk_button_clicked(GTK_BUTTON(Widget(kCheck)));
    gtk_button_clicked(GTK_BUTTON(Widget(kButton)));
    gtk_button_clicked(GTK_BUTTON(Widget(kPause)));
    gtk_combo_box_set_active(GTK_COMBO_BOX(Widget(kList)), 0);
    Pump(30);
    ASSERT_EQ(m_dialog.Commands(), 4);
    EXPECT_EQ(m_dialog.seen[0].message.id, kCheck);
    EXPECT_EQ(m_dialog.seen[0].message.notify, Notify::Clicked);
    EXPECT_EQ(m_dialog.seen[0].checkAtDispatch, 0); // toggled before the message
    EXPECT_EQ(m_dialog.seen[1].message.id, kButton);
    EXPECT_EQ(m_dialog.seen[2].message.id, kPause);
    EXPECT_EQ(W().GetCheck(kPause), 0);
    EXPECT_EQ(m_dialog.seen[3].message.id, kList);
    EXPECT_EQ(m_dialog.seen[3].message.notify, Notify::SelChange);
}

// The check states themselves are the window contract's
// (window_contract_test.cpp); here the push-like box's look.
TEST_F(WxWindowTest, PushLikeCheckBoxLooksPressedWhileChecked)
{
    W().SetCheck(kPause, 1);
    EXPECT_TRUE(static_cast<wxToggleButton*>(m_window->Control(kPause))->GetValue());
    EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Widget(kPause))));
}

TEST_F(WxWindowTest, AVeryLongLineIsShownInShortParagraphsAndReadsBackWhole)
{
    const std::string blob = std::string(300000, 'A') + "\r\nend";
    std::string words;
    while (words.size() < 20000)
        words += "word" + std::to_string(words.size()) + ' ';
    auto* view = GTK_TEXT_VIEW(gtk_bin_get_child(GTK_BIN(Widget(kBox))));
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
    auto longestParagraph = [buffer] {
        int longest = 0;
        for (int line = 0; line < gtk_text_buffer_get_line_count(buffer); ++line) {
            GtkTextIter at;
            gtk_text_buffer_get_iter_at_line(buffer, &at, line);
            longest = std::max(longest, gtk_text_iter_get_chars_in_line(&at));
        }
        return longest;
    };

    W().SetText(kBox, blob);
    EXPECT_LE(longestParagraph(), 4097);
    EXPECT_EQ(W().GetText(kBox), blob);

    // Typed (pasted) by the user at the end, it breaks after a space.
    W().SetText(kBox, "");
    gtk_text_buffer_insert_interactive_at_cursor(buffer, words.data(), static_cast<int>(words.size()), TRUE);
    EXPECT_LE(longestParagraph(), 4097);
    EXPECT_EQ(W().GetText(kBox), words);
    GtkTextIter second;
    gtk_text_buffer_get_iter_at_line(buffer, &second, 1);
    EXPECT_TRUE(gtk_text_iter_backward_char(&second) && gtk_text_iter_backward_char(&second));
    EXPECT_EQ(gtk_text_iter_get_char(&second), static_cast<gunichar>(' '));
}

// A paste of many short lines: the box reads back exactly what was pasted,
// and once laid out it shows the caret, which stands at the end of the pasted
// text.
TEST_F(WxWindowTest, ALongPasteReadsBackWholeAndEndsWithTheCaretInView)
{
    std::string lines = "first\n";
    for (int i = 0; i < 6000; ++i)
        lines += "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E " + std::to_string(i) + '\n';
    auto* view = GTK_TEXT_VIEW(gtk_bin_get_child(GTK_BIN(Widget(kBox))));
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
    gtk_clipboard_set_text(gtk_widget_get_clipboard(GTK_WIDGET(view), GDK_SELECTION_CLIPBOARD), lines.data(),
                           static_cast<int>(lines.size()));
    // Pasted at the top of a box scrolled there, so the view has to move.
    std::string after;
    for (int i = 0; i < 200; ++i)
        after += "after\n";
    W().SetText(kBox, after);
    W().SetSel(kBox, 0, 0);
    Pump(50);
    g_signal_emit_by_name(view, "paste-clipboard");

    const std::string pasted = ui_wx::WithCrLfLineBreaks(lines + after);
    for (int waited = 0; waited < 5000 && W().GetText(kBox) != pasted; waited += 20)
        Pump(20);
    EXPECT_EQ(W().GetText(kBox), pasted);
    // Every line laid out (the caret far below the first screen), then the
    // view scrolled to it.
    auto caretShown = [view, buffer] {
        GtkTextIter caret;
        gtk_text_buffer_get_iter_at_mark(buffer, &caret, gtk_text_buffer_get_insert(buffer));
        GdkRectangle at;
        GdkRectangle visible;
        gtk_text_view_get_iter_location(view, &caret, &at);
        gtk_text_view_get_visible_rect(view, &visible);
        return at.y > 6000 * at.height / 2 && at.y >= visible.y && at.y + at.height <= visible.y + visible.height;
    };
    for (int waited = 0; waited < 5000 && !caretShown(); waited += 20)
        Pump(20);
    EXPECT_TRUE(caretShown());
    GtkTextIter caret;
    gtk_text_buffer_get_iter_at_mark(buffer, &caret, gtk_text_buffer_get_insert(buffer));
    EXPECT_EQ(gtk_text_iter_get_offset(&caret), g_utf8_strlen(lines.data(), -1));
}

TEST_F(WxWindowTest, ProgressBarShowsFullAboveItsRange)
{
    auto* gauge = static_cast<wxGauge*>(m_window->Control(kBar));
    W().SetRange(kBar, 0, 100);
    W().SetPos(kBar, 40);
    EXPECT_EQ(W().GetPos(kBar), 40);
    EXPECT_EQ(gauge->GetValue(), 40);
    W().SetPos(kBar, 150);
    EXPECT_EQ(gauge->GetValue(), gauge->GetRange());
    W().SetPos(kBar, -5);
    EXPECT_EQ(gauge->GetValue(), 0);
}

TEST_F(WxWindowTest, ControlsStandAtTheirScaledTemplatePlaces)
{
    const ui::Rect expected = ui_wx::TemplateRectToPixels(ui::RectFromSize(23, 70, 39, 14));
    EXPECT_EQ(W().GetRect(kButton), expected);
    const ui::Rect client = ui_wx::TemplateClientRect(kTemplate.width, kTemplate.height);
    EXPECT_EQ(W().GetClientRect(), client);

    // A drop-down list keeps its template top and width but gets the height
    // of one closed row, not the template's open-list height.
    const ui::Rect listTemplate = ui_wx::TemplateRectToPixels(ui::RectFromSize(72, 19, 48, 73));
    const ui::Rect list = W().GetRect(kList);
    EXPECT_EQ(list.top, listTemplate.top);
    EXPECT_EQ(list.Width(), listTemplate.Width());
    EXPECT_LT(list.Height(), 30);
    EXPECT_GE(list.Height(), 16);
}

TEST_F(WxWindowTest, LabelsShowMnemonicsAndNameTheControlAfterThem)
{
    GtkWidget* label = nullptr;
    for (wxWindow* child : m_window->Frame().GetChildren())
        if (child->GetLabel() == "Baud &Rate:")
            label = static_cast<GtkWidget*>(child->GetHandle());
    ASSERT_NE(label, nullptr);
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(label)), "Baud Rate:");
    EXPECT_EQ(gtk_label_get_mnemonic_widget(GTK_LABEL(label)), Widget(kList));
    EXPECT_EQ(ui_wx::AccessibleName(*m_window->Control(kList)), "Baud Rate");
    EXPECT_EQ(ui_wx::AccessibleName(*m_window->Control(kLine)), "TX Cycle(ms)");
    EXPECT_EQ(ui_wx::AccessibleName(*m_window->Control(kHelp)), "Help");
    EXPECT_EQ(ui_wx::AccessibleName(*m_window->Control(kBox)), "Received data");
    EXPECT_EQ(W().GetText(kHelp), "Help");
}

TEST_F(WxWindowTest, KeysBecomeDialogCommands)
{
    const auto press = [this](int key, int mods = wxMOD_NONE) {
        wxKeyEvent event(wxEVT_CHAR_HOOK);
        event.m_keyCode = key;
        event.SetControlDown(mods & wxMOD_CONTROL);
        event.SetShiftDown(mods & wxMOD_SHIFT);
        event.SetAltDown(mods & wxMOD_ALT);
        event.SetEventObject(&m_window->Frame());
        m_window->Frame().ProcessWindowEvent(event);
    };
    W().SetFocus(kLine);
    Pump(30);
    ASSERT_EQ(W().GetFocus(), kLine);
    press(WXK_RETURN);
    press(WXK_ESCAPE);
    press(WXK_F1);
    ASSERT_EQ(m_dialog.seen.size(), 3u);
    EXPECT_EQ(m_dialog.seen[0].message.id, ui::IDOK);
    EXPECT_EQ(m_dialog.seen[1].message.id, ui::IDCANCEL);
    EXPECT_EQ(m_dialog.seen[2].message.kind, Msg::Help);

    W().SetFocus(kBox);
    Pump(30);
    ASSERT_EQ(W().GetFocus(), kBox);
    W().SetText(kBox, "ab");
    W().SetSel(kBox, 1, 1);
    m_dialog.seen.clear();
    press(WXK_RETURN);
    EXPECT_EQ(W().GetText(kBox), "a\r\nb");
    EXPECT_EQ(m_dialog.Count(Msg::Command, ui::IDOK), 0);
}

TEST_F(WxWindowTest, SizeChangesReachTheDialog)
{
    const ui::Rect before = W().GetClientRect();
    m_window->Frame().SetClientSize(before.Width() + 100, before.Height() + 50);
    Pump(100);
    ASSERT_GE(m_dialog.Count(Msg::Size), 1);
    EXPECT_EQ(W().GetClientRect().Width(), before.Width() + 100);
    EXPECT_EQ(W().GetClientRect().Height(), before.Height() + 50);
}

// --- Modal runs through the back end -------------------------------------------

GtkWidget* OpenMessageBox()
{
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* w = windows; w; w = w->next)
        if (GTK_IS_MESSAGE_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data)))
            found = GTK_WIDGET(w->data);
    g_list_free(windows);
    return found;
}

TEST(WxBackendTest, TimersKeepTickingWhileAMessageBoxIsOpen)
{
    RecordingDialog dialog;
    int ticksInBox = 0;
    bool boxShown = false;
    dialog.onInit = [](RecordingDialog& d) {
        d.SetTimer(1, 20);
        return true;
    };
    dialog.onMessage = [&](RecordingDialog& d, const ui::Message& m) {
        if (m.kind != Msg::Timer)
            return;
        if (!boxShown) {
            boxShown = true;
            ui::AfxMessageBox("Please enter a positive integer.");
            d.EndDialog(ui::IDOK);
            return;
        }
        // Ticks of the same timer, inside the box its own tick opened.
        if (++ticksInBox == 5)
            if (GtkWidget* box = OpenMessageBox())
                gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
    };
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_GE(ticksInBox, 5);
    EXPECT_EQ(dialog.Count(Msg::Destroy), 1);
}

TEST(WxBackendTest, CloseBoxGoesThroughTheFrameworkAndEndsTheRun)
{
    RecordingDialog dialog;
    wxDialog* frame = nullptr;
    dialog.onInit = [&frame](RecordingDialog& d) {
        frame = &static_cast<ui_wx::WxWindow*>(d.Window())->Frame();
        // From another thread, as a device watcher would post.
        std::thread([&d] { d.PostMessage(ui::Message{Msg::DeviceChange}); }).join();
        ui::CurrentBackend().Post([&frame] { frame->Close(); });
        return true;
    };
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(dialog.Count(Msg::DeviceChange), 1);
    ASSERT_EQ(dialog.Count(Msg::SysCommand), 1);
    EXPECT_EQ(dialog.Count(Msg::Close), 1);
    EXPECT_EQ(dialog.Count(Msg::Command, ui::IDCANCEL), 1);
    EXPECT_EQ(dialog.Count(Msg::Destroy), 1);
    EXPECT_EQ(dialog.Window(), nullptr);
}

TEST(WxBackendTest, DialogEndedDuringInitialisationIsNeverShown)
{
    RecordingDialog dialog;
    dialog.onInit = [](RecordingDialog& d) {
        d.EndDialog(42);
        return true;
    };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.Count(Msg::Destroy), 1);
}

ui_wx::WxBackend& Backend()
{
    return static_cast<ui_wx::WxBackend&>(ui::CurrentBackend());
}

TEST(WxBackendTest, TerminationSignalDismissesTheOpenBoxThenClosesTheDialog)
{
    const ui_wx::QuitSignals signals([] { Backend().RequestQuit(); });
    ASSERT_TRUE(signals.Active());
    RecordingDialog dialog;
    bool boxReturned = false;
    dialog.onInit = [](RecordingDialog& d) {
        d.SetTimer(1, 20);
        return true;
    };
    dialog.onMessage = [&](RecordingDialog& d, const ui::Message& m) {
        if (m.kind != Msg::Timer)
            return;
        d.KillTimer(1);
        std::raise(SIGTERM);
        ui::AfxMessageBox("The port is busy.");
        boxReturned = true;
    };
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(boxReturned);
    EXPECT_EQ(dialog.Count(Msg::QuitRequest), 1);
    EXPECT_EQ(dialog.Count(Msg::Close), 1);
    EXPECT_EQ(dialog.Count(Msg::Destroy), 1);
}

TEST(WxBackendTest, QuitWithNoDialogRunningCancelsTheChooserAndReachesTheNextDialog)
{
    const ui_wx::QuitSignals signals([] { Backend().RequestQuit(); });
    std::raise(SIGINT);
    EXPECT_EQ(Backend().ChooseFileToOpen(""), std::nullopt);
    RecordingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(dialog.Count(Msg::QuitRequest), 1);
}

// Answers a web page that fails with the embedded page, as the pane does.
class FallbackClient : public ui::WebViewClient {
public:
    explicit FallbackClient(ui::WindowImpl& window) : m_window(window) {}

    std::optional<ui::EmbeddedResource> FindEmbedded(std::string_view name) const override
    {
        static constexpr std::string_view kPage = "<html><head><title>advert</title></head><body>in</body></html>";
        if (name != "PAGE.HTML")
            return std::nullopt;
        return ui::EmbeddedResource{"text/html", {reinterpret_cast<const unsigned char*>(kPage.data()), kPage.size()}};
    }
    void DocumentComplete(std::string_view url, std::string_view) override
    {
        if (!url.starts_with("http"))
            return;
        ++failedPages;
        m_window.Navigate(kCount, ui::EmbeddedUrl("PAGE.HTML"), {});
    }
    void NewWindowRequested(std::string_view) override {}

    int failedPages = 0;

private:
    ui::WindowImpl& m_window;
};

template <typename Condition>
bool PumpUntil(Condition done, int ms)
{
    for (int waited = 0; waited < ms && !done(); waited += 20)
        Pump(20);
    return done();
}

// A server on 127.0.0.1 that takes connections (the system completes them)
// and never answers; closed, its port refuses them.
class SilentServer {
public:
    SilentServer() : m_fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        if (bind(m_fd, raw, length) == 0 && listen(m_fd, 8) == 0 && getsockname(m_fd, raw, &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { Close(); }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/adv/advert.html"; }
    int Port() const { return m_port; }
    void Close()
    {
        if (m_fd >= 0)
            close(std::exchange(m_fd, -1));
    }

private:
    int m_fd;
    int m_port = 0;
};

// A web page that gives no answer within its time fails, and the embedded
// page takes its place in the same view; a page whose fetch a newer page
// ended reports nothing; a refused connection (as without a network) fails
// the page.
TEST_F(WxWindowTest, AWebPageFailsByItsTimeOrRefusalAndANewerPageEndsItsFetch)
{
    SilentServer server;
    ASSERT_NE(server.Port(), 0);
    FallbackClient client(W());
    ASSERT_TRUE(W().CreateWebView(kCount, client));
    m_window->Frame().Refresh(); // the view waits for a paint
    W().Navigate(kCount, server.Url(), std::chrono::milliseconds(1000));
    ASSERT_TRUE(PumpUntil([&] { return client.failedPages == 1; }, 5000)) << "the failure was not reported";
    auto* shown = dynamic_cast<wxHtmlWindow*>(m_window->Control(kCount));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->GetOpenedPageTitle(), "advert");
    EXPECT_TRUE(shown->IsShown());
    EXPECT_EQ(shown->GetId(), kCount);

    W().Navigate(kCount, server.Url(), std::chrono::milliseconds(1000));
    W().Navigate(kCount, ui::EmbeddedUrl("PAGE.HTML"), {});
    Pump(1500);
    EXPECT_EQ(client.failedPages, 1) << "an ended fetch reported";

    server.Close();
    W().Navigate(kCount, server.Url(), std::chrono::milliseconds(10000));
    EXPECT_TRUE(PumpUntil([&] { return client.failedPages == 2; }, 5000)) << "the refusal was not reported";
    EXPECT_EQ(m_window->Control(kCount), shown);
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Every assertion inside wx fails the test that made it.
    wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond, const wxString& msg) {
        ADD_FAILURE() << "wx assertion " << cond << " (" << msg << ") at " << file << ":" << line;
    });
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        std::fputs("no display: run under with_xvfb.sh\n", stderr);
        return 1;
    }
    wxTheApp->CallOnInit();
    ui_wx::InstallCompactStyle();
    ui_wx::WxBackend backend;
    ui::SetBackend(&backend);
    const int result = RUN_ALL_TESTS();
    ui::SetBackend(nullptr);
    wxEntryCleanup();
    return result;
}
