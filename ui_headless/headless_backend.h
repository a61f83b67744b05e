#pragma once

#include "ui/backend.h"
#include "ui/open_address.h"
#include "ui_headless/headless_window.h"
#include "threads/condition_variable.h"
#include "threads/mutex.h"

#include <chrono>
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
    std::optional<std::string> ChooseFileToSave(std::string_view initialPath) override;
    int OpenAddress(std::string_view address) override
    {
        m_addresses.emplace_back(address);
        return m_openAddressResult;
    }
    void MessageBeep() override { ++m_beeps; }
    void Sleep(unsigned ms) override { m_now += ms; }
    void Post(std::function<void()> task) override EXCLUDES(m_postedMutex);

    // --- The test's side ---
    HeadlessWindow& WindowOf(const Dialog& dialog);
    // Lets virtual time pass: timer ticks fall due in order, each timer at
    // most once per period; posted tasks run.
    void Advance(unsigned ms);
    // Lets time pass as an event loop that was busy finds it: the clock
    // moves on by `ms` at once, every timer due by then fires once (in the
    // order they fell due) and its next tick counts from the new time.
    void CatchUp(unsigned ms);
    // When the next timer falls due, if any timer runs.
    std::optional<std::uint64_t> NextTimerDue() const;
    void RunPosted() EXCLUDES(m_postedMutex);
    // Blocks until a task has been posted (true) or `timeout` has passed;
    // for tests that serve other threads' posts as they come.
    bool WaitForPosted(std::chrono::microseconds timeout) EXCLUDES(m_postedMutex);
    std::uint64_t Now() const { return m_now; }

    // The captions of the dialogs run modally, in order.
    const std::vector<std::string>& ModalRuns() const { return m_modalRuns; }
    const std::vector<Box>& Boxes() const { return m_boxes; }
    int OpenBoxes() const { return m_openBoxes; }
    void ClearBoxes() { m_boxes.clear(); }
    // Runs while a box is open (the test may advance the clock there);
    // the box is dismissed when it returns.
    void SetBoxResponder(std::function<void(const Box&)> responder) { m_responder = std::move(responder); }

    void QueueFileChoice(std::optional<std::string> choice) { m_fileChoices.push_back(std::move(choice)); }
    // The initial paths the save chooser was opened with.
    const std::vector<std::string>& SaveSuggestions() const { return m_saveSuggestions; }
    // The addresses given to OpenAddress, and the result code it answers.
    const std::vector<std::string>& OpenedAddresses() const { return m_addresses; }
    void SetOpenAddressResult(int result) { m_openAddressResult = result; }
    int Beeps() const { return m_beeps; }
    // Whether windows can make browser views (yes unless the test says no).
    bool WebViewsAvailable() const { return m_webViewsAvailable; }
    void SetWebViewsAvailable(bool available) { m_webViewsAvailable = available; }

private:
    struct DueTimer {
        HeadlessWindow* window = nullptr; // none is due
        unsigned id = 0;
        std::uint64_t due = 0;
    };
    // The timer that fell due first by `by`, the earliest set first on a tie.
    DueTimer FirstDueTimer(std::uint64_t by) const;

    std::map<const Dialog*, std::unique_ptr<HeadlessWindow>> m_windows;
    std::vector<std::unique_ptr<HeadlessWindow>> m_retired;
    std::uint64_t m_now = 0;
    std::vector<Box> m_boxes;
    std::vector<std::string> m_modalRuns;
    int m_openBoxes = 0;
    std::function<void(const Box&)> m_responder;
    std::deque<std::optional<std::string>> m_fileChoices;
    std::vector<std::string> m_saveSuggestions;
    std::vector<std::string> m_addresses;
    int m_openAddressResult = kOpenSucceeded;
    int m_beeps = 0;
    bool m_webViewsAvailable = true;
    // Post comes from any thread (a port's I/O thread, the hot-plug watcher).
    threads::Mutex m_postedMutex;
    threads::ConditionVariable m_postedChanged;
    std::deque<std::function<void()>> m_posted GUARDED_BY(m_postedMutex);
};

} // namespace ui::headless
