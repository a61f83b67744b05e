#pragma once

#include <string>
#include <vector>

#include "ui/backend.h"

namespace serial_test {

// A window-system back end that shows nothing and records the message boxes.
// Installed for its lifetime; the previous one is not restored.
class RecordingBackend : public ui::Backend {
public:
    RecordingBackend() { ui::SetBackend(this); }
    ~RecordingBackend() override { ui::SetBackend(nullptr); }

    int RunModal(ui::Dialog&) override { return 0; }
    void MessageBox(std::string_view, std::string_view text) override { messages.emplace_back(text); }
    std::optional<std::string> ChooseFileToOpen(std::string_view) override { return std::nullopt; }
    std::optional<std::string> ChooseFileToSave(std::string_view) override { return std::nullopt; }
    void Sleep(unsigned) override {}
    void Post(std::function<void()> task) override { task(); }

    std::vector<std::string> messages;
};

} // namespace serial_test
