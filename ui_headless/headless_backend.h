#pragma once

#include "ui/backend.h"
#include "ui/open_address.h"
#include "ui_headless/headless_window.h"
#include "threads/mutex.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui::headless {

// The window system of the tests: windows without a display, a virtual clock
// that serves timer ticks when the test advances it, and modal boxes that are
// recorded and answered by the test.
class HeadlessBackend : public Backend {
public:
    struct Box {
        std::string caption;
        std::string text;
    };

    HeadlessBackend();
    ~HeadlessBackend() override;

    // Installs itself as the current back end for its lifetime.

    // --- Backend ---
    int RunModal(Dialog& dialog) override;
    void MessageBox(std::string_view caption, std::string_view text) override;
    std::optional<std::string> ChooseFileToOpen(std::string_view initialPath) override;
    int OpenAddress(std::string_view address) override
    {
        addresses_.emplace_back(address);
        return openAddressResult_;
    }
    void MessageBeep() override { ++beeps_; }
    void Sleep(unsigned ms) override { now_ += ms; }
    void Post(std::function<void()> task) override EXCLUDES(postedMutex_);

    // --- The test's side ---
    HeadlessWindow& WindowOf(const Dialog& dialog);
    // Lets virtual time pass: timer ticks fall due in order, each timer at
    // most once per period; posted tasks run.
    void Advance(unsigned ms);
    void RunPosted() EXCLUDES(postedMutex_);
    // Blocks until a task has been posted (true) or `timeout` has passed;
    // for tests that serve other threads' posts as they come.
    bool WaitForPosted(std::chrono::microseconds timeout) EXCLUDES(postedMutex_);
    std::uint64_t Now() const { return now_; }

    // The captions of the dialogs run modally, in order.
    const std::vector<std::string>& ModalRuns() const { return modalRuns_; }
    const std::vector<Box>& Boxes() const { return boxes_; }
    int OpenBoxes() const { return openBoxes_; }
    void ClearBoxes() { boxes_.clear(); }
    // Runs while a box is open (the test may advance the clock there);
    // the box is dismissed when it returns.
    void SetBoxResponder(std::function<void(const Box&)> responder) { responder_ = std::move(responder); }

    void QueueFileChoice(std::optional<std::string> choice) { fileChoices_.push_back(std::move(choice)); }
    // The addresses given to OpenAddress, and the result code it answers.
    const std::vector<std::string>& OpenedAddresses() const { return addresses_; }
    void SetOpenAddressResult(int result) { openAddressResult_ = result; }
    int Beeps() const { return beeps_; }
    // Whether windows can make browser views (yes unless the test says no).
    bool WebViewsAvailable() const { return webViewsAvailable_; }
    void SetWebViewsAvailable(bool available) { webViewsAvailable_ = available; }

private:
    std::map<const Dialog*, std::unique_ptr<HeadlessWindow>> windows_;
    std::vector<std::unique_ptr<HeadlessWindow>> retired_;
    std::uint64_t now_ = 0;
    std::vector<Box> boxes_;
    std::vector<std::string> modalRuns_;
    int openBoxes_ = 0;
    std::function<void(const Box&)> responder_;
    std::deque<std::optional<std::string>> fileChoices_;
    std::vector<std::string> addresses_;
    int openAddressResult_ = kOpenSucceeded;
    int beeps_ = 0;
    bool webViewsAvailable_ = true;
    // Post comes from any thread (a port's I/O thread, the hot-plug watcher).
    threads::Mutex postedMutex_;
    std::condition_variable postedChanged_;
    std::deque<std::function<void()>> posted_ GUARDED_BY(postedMutex_);
};

} // namespace ui::headless
