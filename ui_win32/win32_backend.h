#pragma once

#include "threads/mutex.h"
#include "ui/backend.h"
#include "ui_win32/win32_api.h"

#include <deque>
#include <vector>

namespace ui_win32 {

class Win32Window;

// The window-system services on Win32. Runs on the user-interface thread,
// except Post, which any thread may call.
class Win32Backend final : public ui::Backend {
public:
    Win32Backend();
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    int RunModal(ui::Dialog& dialog) override;
    void MessageBox(std::string_view caption, std::string_view text) override;
    std::optional<std::string> ChooseFileToOpen(std::string_view initialPath) override;
    std::optional<std::string> ChooseFileToSave(std::string_view initialPath) override;
    void MessageBeep() override;
    ui::COLORREF HighlightColour() const override;
    void Sleep(unsigned ms) override;
    void Post(std::function<void()> task) override EXCLUDES(m_postedMutex);

private:
    static LRESULT CALLBACK TaskWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void RunPosted() EXCLUDES(m_postedMutex);
    // The innermost dialog window being run: the owner of boxes.
    HWND BoxOwner() const;

    // A message-only window: a posted task wakes whatever loop the thread
    // runs (a dialog's, a message box's, the file chooser's).
    HWND m_tasks = nullptr;
    std::vector<Win32Window*> m_running; // nested modal runs, innermost last
    threads::Mutex m_postedMutex;
    std::deque<std::function<void()>> m_posted GUARDED_BY(m_postedMutex);
};

} // namespace ui_win32
