#include "ui_wx/wx_backend.h"

#include "ui/dialog.h"
#include "ui_wx/wx_text.h"
#include "ui_wx/wx_window.h"

#include <chrono>
#include <thread>

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/utils.h>

namespace ui_wx {

namespace {

// Keeps the list of running dialogs right however a run ends.
class RunningEntry {
public:
    RunningEntry(std::vector<WxWindow*>& running, WxWindow& window) : running_(running) { running_.push_back(&window); }
    ~RunningEntry() { running_.pop_back(); }
    RunningEntry(const RunningEntry&) = delete;
    RunningEntry& operator=(const RunningEntry&) = delete;

private:
    std::vector<WxWindow*>& running_;
};

} // namespace

int WxBackend::RunModal(ui::Dialog& dialog)
{
    WxWindow window(dialog, BoxOwner());
    RunningEntry entry(running_, window);
    dialog.AttachWindow(&window);
    window.BeginDelivery();
    if (dialog.InitDialog())
        window.FocusFirstTabStop();
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

} // namespace

std::optional<std::string> WxBackend::ChooseFileToOpen(std::string_view initialPath)
{
    const wxFileName initial(ToWx(initialPath));
    wxFileDialog chooser(BoxOwner(), wxFileSelectorPromptStr, initial.GetPath(), initial.GetFullName(),
                         "All Files (*.*)|*.*", wxFD_OPEN | wxFD_MULTIPLE);
    if (chooser.ShowModal() != wxID_OK)
        return std::nullopt;
    // Several files chosen answer with the folder that holds them.
    wxArrayString paths;
    chooser.GetPaths(paths);
    if (paths.size() > 1)
        return FileNameBytes(chooser.GetDirectory());
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
