// The window contract on the headless back end: virtual time, the test as
// the user.
#include "ui/tests/window_contract.h"
#include "ui_headless/headless_backend.h"

namespace {

using ui::contract::ContractDialog;

struct HeadlessTraits {
    // Time is the back end's virtual clock: every tick due comes, exactly.
    static constexpr bool kExactClock = true;
    static constexpr int kIndeterminateReadsAs = 2;
    // Kept as given, as the Win32 edit keeps it.
    static constexpr std::string_view kLoneLineFeedReadsAs = "\n";

    static void Run(ContractDialog& dialog, const std::function<void(ui::WindowImpl&)>& body)
    {
        ui::headless::HeadlessBackend backend; // current for its lifetime
        s_backend = &backend;
        dialog.DoModal(); // returns once the dialog is initialised
        ui::headless::HeadlessWindow& window = backend.WindowOf(dialog);
        dialog.seen.clear();
        body(window);
        window.EndDialog(0);
        s_backend = nullptr;
    }
    static void Pump(unsigned ms) { s_backend->Advance(ms); }
    static void Click(ui::WindowImpl& window, int id) { static_cast<ui::headless::HeadlessWindow&>(window).Click(id); }

    static inline ui::headless::HeadlessBackend* s_backend = nullptr;
};

} // namespace

namespace ui::contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Headless, WindowContract, HeadlessTraits);
} // namespace ui::contract
