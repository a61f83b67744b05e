#include "ui_win32/win32_backend.h"

#include "ui/dialog.h"
#include "ui_win32/win32_text.h"
#include "ui_win32/win32_window.h"

#include <algorithm>

namespace ui_win32 {

namespace {

constexpr UINT kRunPosted = WM_APP + 1;
constexpr wchar_t kTaskWindowClass[] = L"VantrelPostedTasks";

// Keeps the list of running dialogs right however a run ends.
class RunningEntry {
public:
    RunningEntry(std::vector<Win32Window*>& running, Win32Window& window) : m_running(running)
    {
        m_running.push_back(&window);
    }
    ~RunningEntry() { m_running.pop_back(); }
    RunningEntry(const RunningEntry&) = delete;
    RunningEntry& operator=(const RunningEntry&) = delete;

private:
    std::vector<Win32Window*>& m_running;
};

// The file chooser's buffer: room for many names chosen at once.
constexpr std::size_t kChooserBuffer = 64 * 1024;

} // namespace

Win32Backend::Win32Backend()
{
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = &Win32Backend::TaskWindowProc;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.lpszClassName = kTaskWindowClass;
    ::RegisterClassExW(&cls);
    m_tasks = ::CreateWindowExW(0, kTaskWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    ::SetWindowLongPtrW(m_tasks, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Backend::~Win32Backend()
{
    if (m_tasks)
        ::DestroyWindow(m_tasks);
}

LRESULT CALLBACK Win32Backend::TaskWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunPosted) {
        if (auto* self = reinterpret_cast<Win32Backend*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            self->RunPosted();
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32Backend::Post(std::function<void()> task)
{
    {
        threads::MutexLock lock(m_postedMutex);
        m_posted.push_back(std::move(task));
    }
    ::PostMessageW(m_tasks, kRunPosted, 0, 0);
}

void Win32Backend::RunPosted()
{
    std::deque<std::function<void()>> due;
    {
        threads::MutexLock lock(m_postedMutex);
        due.swap(m_posted);
    }
    for (auto& task : due)
        task();
}

int Win32Backend::RunModal(ui::Dialog& dialog)
{
    Win32Window window(dialog);
    const HWND owner = BoxOwner();
    RunningEntry entry(m_running, window);
    return window.RunModal(owner);
}

HWND Win32Backend::BoxOwner() const
{
    for (auto it = m_running.rbegin(); it != m_running.rend(); ++it)
        if ((*it)->Handle())
            return (*it)->Handle();
    return nullptr;
}

void Win32Backend::MessageBox(std::string_view caption, std::string_view text)
{
    // The box runs its own loop: timer ticks and posted tasks go on.
    ::MessageBoxW(BoxOwner(), Widen(text).c_str(), Widen(caption).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

namespace {

// The chooser's fields for an initial path: it opens in the path's folder
// with its name filled in. The strings outlive the OPENFILENAMEW pointing
// into them.
struct ChooserSetup {
    std::wstring folder;
    std::wstring buffer;
    OPENFILENAMEW chooser{};

    ChooserSetup(std::string_view initialPath, HWND owner, DWORD flags) : buffer(kChooserBuffer, L'\0')
    {
        const std::wstring initial = Widen(initialPath);
        const auto slash = initial.find_last_of(L"\\/");
        folder = slash == std::wstring::npos ? std::wstring() : initial.substr(0, slash);
        const std::wstring name = slash == std::wstring::npos ? initial : initial.substr(slash + 1);
        if (name.size() < buffer.size() - 1)
            std::copy(name.begin(), name.end(), buffer.begin());
        chooser.lStructSize = sizeof(chooser);
        chooser.hwndOwner = owner;
        chooser.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
        chooser.lpstrFilter = L"All Files (*.*)\0*.*\0";
        chooser.lpstrFile = buffer.data();
        chooser.nMaxFile = static_cast<DWORD>(buffer.size());
        chooser.Flags = flags;
    }
};

} // namespace

std::optional<std::string> Win32Backend::ChooseFileToOpen(std::string_view initialPath)
{
    // Several files may be chosen; the read-only box is hidden.
    ChooserSetup setup(initialPath, BoxOwner(),
                       OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER);
    std::wstring& buffer = setup.buffer;
    if (!::GetOpenFileNameW(&setup.chooser))
        return std::nullopt;
    // One file: its full path. Several: the folder, then each name, each
    // ended by a zero; the answer is the folder.
    const std::wstring first(buffer.c_str());
    return Narrow(first);
}

std::optional<std::string> Win32Backend::ChooseFileToSave(std::string_view initialPath)
{
    ChooserSetup setup(initialPath, BoxOwner(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER);
    if (!::GetSaveFileNameW(&setup.chooser))
        return std::nullopt;
    return Narrow(std::wstring(setup.buffer.c_str()));
}

void Win32Backend::MessageBeep()
{
    ::MessageBeep(MB_ICONEXCLAMATION);
}

ui::COLORREF Win32Backend::HighlightColour() const
{
    return static_cast<ui::COLORREF>(::GetSysColor(COLOR_HIGHLIGHT));
}

void Win32Backend::Sleep(unsigned ms)
{
    ::Sleep(ms);
}

} // namespace ui_win32
