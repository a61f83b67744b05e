// The window contract on the Win32 back end, on a real (Wine's or Windows')
// window system.
#include "ui/tests/window_contract.h"
#include "ui_win32/win32_api.h"
#include "ui_win32/win32_backend.h"
#include "ui_win32/win32_window.h"

#include <algorithm>
#include <chrono>

namespace {

using ui::contract::ContractDialog;

struct Win32Traits {
    // The system's timers: late on a busy machine and rounded up to the
    // system's timer granularity, never early.
    static constexpr bool kExactClock = false;
    // An automatic check box has two states; the system's box answers a
    // request for the third with its checked state.
    static constexpr int kIndeterminateReadsAs = 1;
    // The system's edit keeps a lone "\n" as given (it breaks lines only at
    // CR LF).
    static constexpr std::string_view kLoneLineFeedReadsAs = "\n";

    // The window stands only inside its modal run: the body runs as a task
    // posted from the dialog's initialisation, inside the run's loop, and
    // ends the dialog.
    static void Run(ContractDialog& dialog, const std::function<void(ui::WindowImpl&)>& body)
    {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
        ui_win32::Win32Backend backend;
        ui::SetBackend(&backend);
        dialog.onInit = [&] {
            ui::CurrentBackend().Post([&] {
                dialog.seen.clear();
                body(*dialog.Window());
                dialog.EndDialog(0);
            });
        };
        EXPECT_EQ(dialog.DoModal(), 0);
        ui::SetBackend(nullptr);
    }

    // A nested message loop for ms: what the modal run's loop does.
    static void Pump(unsigned ms)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
        }
    }

    // The click a user's mouse makes on the button.
    static void Click(ui::WindowImpl& window, int id)
    {
        const HWND dialog = static_cast<ui_win32::Win32Window&>(window).Handle();
        ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    }
};

} // namespace

namespace ui::contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowContract, Win32Traits);
} // namespace ui::contract
