#include "ui_wx/wx_backend.h"

#include "ui/dialog.h"
#include "ui_wx/wx_text.h"
#include "ui_wx/wx_window.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <wx/app.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <gtk/gtk.h>

namespace ui_wx {

namespace {

// Keeps the list of running dialogs right however a run ends.
class RunningEntry {
public:
    RunningEntry(std::vector<WxWindow*>& running, WxWindow& window) : m_running(running)
    {
        m_running.push_back(&window);
    }
    ~RunningEntry() { m_running.pop_back(); }
    RunningEntry(const RunningEntry&) = delete;
    RunningEntry& operator=(const RunningEntry&) = delete;

private:
    std::vector<WxWindow*>& m_running;
};

// Ends a box the way its Cancel would. GTK's own dialogs (message boxes,
// the file chooser) end through their response.
void DismissBox(wxDialog& box)
{
    auto* widget = static_cast<GtkWidget*>(box.GetHandle());
    if (widget && GTK_IS_DIALOG(widget))
        gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_CANCEL);
    else if (box.IsModal())
        box.EndModal(wxID_CANCEL);
}

} // namespace

// Keeps the list of modal dialogs open (the dialog windows' own frames
// among them), as wx reports them around every modal run.
class WxBackend::ModalTracker final : public wxModalDialogHook {
public:
    explicit ModalTracker(WxBackend& backend) : m_backend(backend) { Register(); }

protected:
    int Enter(wxDialog* dialog) override
    {
        m_backend.m_modal.push_back(dialog);
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override
    {
        auto& open = m_backend.m_modal;
        open.erase(std::remove(open.begin(), open.end(), dialog), open.end());
        if (m_backend.m_quitting)
            m_backend.GoOnQuittingSoon();
    }

private:
    WxBackend& m_backend;
};

WxBackend::WxBackend() : m_tracker(std::make_unique<ModalTracker>(*this))
{
}

WxBackend::~WxBackend() = default;

int WxBackend::RunModal(ui::Dialog& dialog)
{
    WxWindow window(dialog, BoxOwner());
    RunningEntry entry(m_running, window);
    dialog.AttachWindow(&window);
    window.BeginDelivery();
    if (dialog.InitDialog())
        window.FocusFirstTabStop();
    if (m_quitting)
        GoOnQuittingSoon();
    const int result = window.ShowModal();
    // The window goes away with its timers: no tick reaches the dialog
    // between its destroy message and the end of the window.
    window.StopTimers();
    dialog.DestroyWindow();
    return result;
}

wxWindow* WxBackend::BoxOwner() const
{
    WxWindow* active = ActiveWindow();
    return active ? &active->Frame() : nullptr;
}

void WxBackend::RequestQuit()
{
    m_quitting = true;
    GoOnQuitting();
}

void WxBackend::GoOnQuitting()
{
    if (!m_quitting)
        return;
    WxWindow* active = ActiveWindow();
    if (!m_modal.empty() && (!active || m_modal.back() != &active->Frame())) {
        DismissBox(*m_modal.back()); // its end goes on from ModalTracker::Exit
        return;
    }
    if (!active)
        return; // the next dialog run goes on
    m_quitting = m_running.size() > 1;
    active->RequestQuit();
}

void WxBackend::GoOnQuittingSoon()
{
    // Once the box's or dialog's run has returned to the loop outside it.
    m_later.CallAfter([this] { GoOnQuitting(); });
}

void WxBackend::MessageBox(std::string_view caption, std::string_view text)
{
    // GTK runs the box in a nested main loop: the dialogs' timers and posted
    // tasks go on being served while it is open.
    wxMessageDialog box(BoxOwner(), ToWx(text), ToWx(caption), wxOK | wxICON_EXCLAMATION);
    box.ShowModal();
}

namespace {

// A file name as the system spells it: bytes that are not UTF-8 are kept,
// so the name opens the file it names.
std::string FileNameBytes(const wxString& name)
{
    const wxCharBuffer bytes = name.fn_str();
    if (bytes.data() && bytes.length() > 0)
        return std::string(bytes.data(), bytes.length());
    return FromWx(name);
}

// GTK's chooser sizes itself from its font when it is shown, which can be
// taller than a small screen and put its buttons out of reach; just after
// it is shown it is brought down to the given size (never grown) and
// centred.
struct ChooserFit {
    int width;
    int height;
};

gboolean ShrinkChooser(gpointer data)
{
    auto* window = GTK_WINDOW(data);
    const auto* fit = static_cast<const ChooserFit*>(g_object_get_data(G_OBJECT(window), "vantrel-fit"));
    int width = 0;
    int height = 0;
    gtk_window_get_size(window, &width, &height);
    if (fit && (width > fit->width || height > fit->height)) {
        gtk_window_resize(window, std::min(width, fit->width), std::min(height, fit->height));
        gtk_window_set_position(window, GTK_WIN_POS_CENTER_ALWAYS);
    }
    return G_SOURCE_REMOVE;
}

void ShrinkChooserOnceShown(GtkWidget* widget, gpointer)
{
    g_idle_add_full(G_PRIORITY_HIGH_IDLE, ShrinkChooser, g_object_ref(widget), g_object_unref);
}

void FitChooserOnScreen(GtkWindow* window, int width, int height)
{
    if (!window)
        return;
    g_object_set_data_full(G_OBJECT(window), "vantrel-fit", new ChooserFit{width, height},
                           [](gpointer fit) { delete static_cast<ChooserFit*>(fit); });
    g_signal_connect(window, "map", G_CALLBACK(ShrinkChooserOnceShown), nullptr);
}

} // namespace

std::optional<std::string> WxBackend::ChooseFileToOpen(std::string_view initialPath)
{
    const wxFileName initial(ToWx(initialPath));
    wxFileDialog chooser(BoxOwner(), wxFileSelectorPromptStr, initial.GetPath(), initial.GetFullName(),
                         "All Files (*.*)|*.*", wxFD_OPEN | wxFD_MULTIPLE);
    // GTK's chooser remembers a size of its own that can be taller than a
    // small screen, which would put its buttons out of reach.
    // (wxDisplay asserts when asked about no window.)
    const wxWindow* owner = BoxOwner();
    const wxRect area = (owner ? wxDisplay(owner) : wxDisplay()).GetClientArea();
    const int width = std::min(900, area.width * 9 / 10);
    const int height = std::min(600, area.height * 8 / 10);
    FitChooserOnScreen(GTK_WINDOW(chooser.GetHandle()), width, height);
    if (chooser.ShowModal() != wxID_OK)
        return std::nullopt;
    // A chooser that takes several files answers through GetPaths only
    // (GetPath asserts). Several files chosen answer with the folder that
    // holds them.
    wxArrayString paths;
    chooser.GetPaths(paths);
    if (paths.empty())
        return std::string();
    if (paths.size() > 1)
        return FileNameBytes(wxFileName(paths[0]).GetPath());
    return FileNameBytes(paths[0]);
}

std::optional<std::string> WxBackend::ChooseFileToSave(std::string_view initialPath)
{
    const wxFileName initial(ToWx(initialPath));
    wxFileDialog chooser(BoxOwner(), wxFileSelectorPromptStr, initial.GetPath(), initial.GetFullName(),
                         "All Files (*.*)|*.*", wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    const wxWindow* owner = BoxOwner();
    const wxRect area = (owner ? wxDisplay(owner) : wxDisplay()).GetClientArea();
    FitChooserOnScreen(GTK_WINDOW(chooser.GetHandle()), std::min(900, area.width * 9 / 10),
                       std::min(600, area.height * 8 / 10));
    if (chooser.ShowModal() != wxID_OK)
        return std::nullopt;
    return FileNameBytes(chooser.GetPath());
}

void WxBackend::MessageBeep()
{
    wxBell();
}

ui::COLORREF WxBackend::HighlightColour() const
{
    const wxColour c = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    return ui::Rgb(c.Red(), c.Green(), c.Blue());
}

void WxBackend::Sleep(unsigned ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void WxBackend::Post(std::function<void()> task)
{
    // CallAfter queues an event, which wx allows from any thread; the task
    // runs when the user-interface thread next serves events, in a modal
    // box's loop too.
    if (wxApp* app = wxTheApp)
        app->CallAfter([task = std::move(task)] { task(); });
}

} // namespace ui_wx
