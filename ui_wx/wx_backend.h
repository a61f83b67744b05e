#pragma once

#include "ui/backend.h"

#include <vector>

class wxWindow;

namespace ui_wx {

class WxWindow;

// The window-system services on wxWidgets. Runs on the user-interface
// thread, except Post, which any thread may call.
class WxBackend final : public ui::Backend {
public:
    int RunModal(ui::Dialog& dialog) override;
    void MessageBox(std::string_view caption, std::string_view text) override;
    std::optional<std::string> ChooseFileToOpen(std::string_view initialPath) override;
    void MessageBeep() override;
    ui::COLORREF HighlightColour() const override;
    void Sleep(unsigned ms) override;
    void Post(std::function<void()> task) override;

    // The innermost dialog window being run, or null.
    WxWindow* ActiveWindow() const { return running_.empty() ? nullptr : running_.back(); }

private:
    wxWindow* BoxOwner() const;

    std::vector<WxWindow*> running_; // nested modal runs, innermost last
};

} // namespace ui_wx
