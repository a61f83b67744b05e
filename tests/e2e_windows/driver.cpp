// Drives the Vantrel window from outside, the way Windows test tools do:
// finds the main window, reads controls by identifier and clicks or
// chooses by posting the messages a user's click sends. One command per
// run; exit status 0 on success, 1 on failure (with a line on stderr).
//
//   vantrel_driver wait-window [ms]        the main window exists
//   vantrel_driver title                   prints its title
//   vantrel_driver text ID                 prints a control's text
//   vantrel_driver set-text ID TEXT        replaces a control's text
//   vantrel_driver click ID                posts BM_CLICK
//   vantrel_driver choose ID TEXT          selects a list's row, as a user would
//   vantrel_driver selection ID            prints a list's selected row
//   vantrel_driver wait-text ID TEXT [ms]  until the control's text holds TEXT
//   vantrel_driver wait-title TEXT [ms]    until the title holds TEXT
//   vantrel_driver box                     prints the open message box's text
//   vantrel_driver box-ok                  presses the message box's OK
//   vantrel_driver syscommand ID           chooses a window menu entry
//   vantrel_driver size W H                resizes the window (outer pixels)
//   vantrel_driver rect ID                 prints a control's rectangle in client pixels
//   vantrel_driver close                   posts WM_CLOSE (the close box)
//   vantrel_driver focus                   prints the identifier and text of the control with the focus
//   vantrel_driver placement               prints the window's and the work area's rectangles
//   vantrel_driver version FILE            prints a file's version resource
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::wstring Widen(const char* text)
{
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
    out.resize(std::wcslen(out.c_str()));
    return out;
}

void Print(const std::wstring& text)
{
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    std::printf("%s\n", out.c_str());
}

std::wstring TextOf(HWND hwnd)
{
    const auto length = ::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::wcslen(text.c_str()));
    return text;
}

// A dialog window (class #32770) whose title starts with `prefix`.
struct Search {
    const wchar_t* prefix;
    bool exact;
    HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t cls[32] = {};
    ::GetClassNameW(hwnd, cls, 32);
    const std::wstring title = TextOf(hwnd);
    const std::size_t n = std::wcslen(search->prefix);
    const bool match = search->exact ? title == search->prefix : title.compare(0, n, search->prefix) == 0;
    if (std::wcscmp(cls, L"#32770") == 0 && match && ::IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(const wchar_t* prefix, bool exact)
{
    Search search{prefix, exact, nullptr};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The main window: "Vantrel", or "Vantrel - <port> ..." while a port is open.
HWND MainWindow()
{
    HWND hwnd = FindDialog(L"Vantrel", true);
    return hwnd ? hwnd : FindDialog(L"Vantrel - ", false);
}

int Fail(const char* what)
{
    std::fprintf(stderr, "vantrel_driver: %s\n", what);
    return 1;
}

bool WaitFor(DWORD ms, bool (*done)(const void*), const void* arg)
{
    const DWORD start = ::GetTickCount();
    while (!done(arg)) {
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(50);
    }
    return true;
}

struct TextWait {
    int id; // 0: the title
    std::wstring text;
};

bool HoldsText(const void* arg)
{
    const auto* wait = static_cast<const TextWait*>(arg);
    HWND main = MainWindow();
    if (!main)
        return false;
    HWND target = wait->id ? ::GetDlgItem(main, wait->id) : main;
    return target && TextOf(target).find(wait->text) != std::wstring::npos;
}

bool MainWindowShown(const void*)
{
    return MainWindow() != nullptr;
}

// The version resource of a file, as Explorer's properties show it: the
// fixed numbers, then the strings of its first translation.
int PrintVersion(const char* file)
{
    const std::wstring path = Widen(file);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::string data(size, '\0');
    if (size == 0 || !::GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return Fail("no version resource");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return Fail("no fixed version");
    std::printf("FixedFileVersion=%d.%d.%d.%d\n", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    std::printf("FixedProductVersion=%d.%d.%d.%d\n", HIWORD(fixed->dwProductVersionMS),
                LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                LOWORD(fixed->dwProductVersionLS));
    WORD* translation = nullptr;
    if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                          &length) ||
        length < 4)
        return Fail("no translation");
    wchar_t block[64];
    std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    for (const wchar_t* name : {L"ProductName", L"ProductVersion", L"FileVersion", L"FileDescription", L"CompanyName",
                                L"LegalCopyright", L"OriginalFilename"}) {
        wchar_t* value = nullptr;
        const std::wstring query = std::wstring(block) + name;
        if (::VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) && value)
            Print(std::wstring(name) + L"=" + value);
    }
    return 0;
}

DWORD Timeout(int argc, char** argv, int at)
{
    return argc > at ? static_cast<DWORD>(std::strtoul(argv[at], nullptr, 10)) : 20000;
}

// The arguments as UTF-8, from the command line's own wide text: main's
// argv is in the ANSI code page, which cannot hold every name.
std::vector<std::string> Arguments()
{
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 0; wide && i < count; ++i) {
        const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), n, nullptr, nullptr);
        arg.resize(std::strlen(arg.c_str()));
        args.push_back(std::move(arg));
    }
    if (wide)
        ::LocalFree(wide);
    return args;
}

} // namespace

int main()
{
    std::vector<std::string> args = Arguments();
    std::vector<char*> pointers;
    for (std::string& arg : args)
        pointers.push_back(arg.data());
    const int argc = static_cast<int>(pointers.size());
    char** argv = pointers.data();
    if (argc < 2)
        return Fail("no command");
    const std::string command = argv[1];
    if (command == "wait-window")
        return WaitFor(Timeout(argc, argv, 2), MainWindowShown, nullptr) ? 0 : Fail("no main window");
    if (command == "box") {
        // A message box is a dialog owned by the main window, with the
        // program's title (the executable's name) as its caption.
        HWND box = FindDialog(L"vantrel", true);
        if (!box)
            return Fail("no message box");
        HWND text = ::GetDlgItem(box, 0xFFFF);
        Print(text ? TextOf(text) : std::wstring());
        return 0;
    }
    if (command == "box-ok") {
        HWND box = FindDialog(L"vantrel", true);
        return box && ::PostMessageW(box, WM_COMMAND, IDOK, 0) ? 0 : Fail("no message box");
    }
    if (command == "save-ok") {
        // The system's save chooser: its default button takes the name it
        // suggests.
        HWND chooser = nullptr;
        const DWORD start = ::GetTickCount();
        while (!(chooser = FindDialog(L"Save", false)) && ::GetTickCount() - start < Timeout(argc, argv, 2))
            ::Sleep(50);
        return chooser && ::PostMessageW(chooser, WM_COMMAND, IDOK, 0) ? 0 : Fail("no save chooser");
    }
    if (command == "version" && argc >= 3)
        return PrintVersion(argv[2]);
    if (command == "wait-title" && argc >= 3) {
        const TextWait wait{0, Widen(argv[2])};
        return WaitFor(Timeout(argc, argv, 3), HoldsText, &wait) ? 0 : Fail("the title never held the text");
    }
    HWND main = MainWindow();
    if (!main)
        return Fail("no main window");
    if (command == "title") {
        Print(TextOf(main));
        return 0;
    }
    if (command == "focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &info) || !info.hwndFocus)
            return Fail("nothing has the focus");
        std::printf("%d ", ::GetDlgCtrlID(info.hwndFocus));
        Print(TextOf(info.hwndFocus));
        return 0;
    }
    if (command == "placement") {
        RECT window{};
        ::GetWindowRect(main, &window);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ::GetMonitorInfoW(::MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& work = monitor.rcWork;
        std::printf("window %ld %ld %ld %ld work %ld %ld %ld %ld\n", window.left, window.top, window.right,
                    window.bottom, work.left, work.top, work.right, work.bottom);
        return 0;
    }
    if (command == "close")
        return ::PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : Fail("cannot post");
    if (command == "syscommand" && argc >= 3)
        return ::PostMessageW(main, WM_SYSCOMMAND, std::strtoul(argv[2], nullptr, 0), 0) ? 0 : Fail("cannot post");
    if (command == "size" && argc >= 4)
        return ::SetWindowPos(main, nullptr, 0, 0, std::atoi(argv[2]), std::atoi(argv[3]), SWP_NOMOVE | SWP_NOZORDER)
                   ? 0
                   : Fail("cannot resize");
    if (argc < 3)
        return Fail("no control identifier");
    const int id = std::atoi(argv[2]);
    HWND control = ::GetDlgItem(main, id);
    if (!control)
        return Fail("no such control");
    if (command == "text") {
        Print(TextOf(control));
        return 0;
    }
    if (command == "rect") {
        RECT r{};
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        RECT client{};
        ::GetClientRect(main, &client);
        std::printf("%ld %ld %ld %ld in %ld %ld\n", r.left, r.top, r.right, r.bottom, client.right, client.bottom);
        return 0;
    }
    if (command == "selection") {
        std::printf("%d\n", static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0)));
        return 0;
    }
    if (command == "click")
        return ::PostMessageW(control, BM_CLICK, 0, 0) ? 0 : Fail("cannot post");
    if (argc < 4)
        return Fail("missing argument");
    const std::wstring text = Widen(argv[3]);
    if (command == "set-text") {
        ::SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return 0;
    }
    if (command == "choose") {
        const auto row = ::SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(text.c_str()));
        if (row == CB_ERR)
            return Fail("no such row");
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
        // The notification a user's choice sends; posted, as a handler may
        // open a modal box.
        ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
        return 0;
    }
    if (command == "wait-text") {
        const TextWait wait{id, text};
        return WaitFor(Timeout(argc, argv, 4), HoldsText, &wait) ? 0 : Fail("the control never held the text");
    }
    return Fail("unknown command");
}
