#include "ui_headless/headless_backend.h"

#include "ui/dialog.h"

#include <stdexcept>

namespace ui::headless {

HeadlessBackend::HeadlessBackend()
{
    SetBackend(this);
}

HeadlessBackend::~HeadlessBackend()
{
    SetBackend(nullptr);
}

int HeadlessBackend::RunModal(Dialog& dialog)
{
    m_modalRuns.emplace_back(dialog.Template().caption);
    auto window = std::make_unique<HeadlessWindow>(*this, dialog, dialog.Template());
    HeadlessWindow& w = *window;
    if (auto old = m_windows.find(&dialog); old != m_windows.end())
        m_retired.push_back(std::move(old->second));
    m_windows[&dialog] = std::move(window);
    dialog.AttachWindow(&w);
    // A true result asks the system to focus the first tab stop.
    if (dialog.InitDialog())
        w.FocusFirstTabStop();
    return 0;
}

HeadlessWindow& HeadlessBackend::WindowOf(const Dialog& dialog)
{
    auto it = m_windows.find(&dialog);
    if (it == m_windows.end())
        throw std::logic_error("dialog has no headless window");
    return *it->second;
}

void HeadlessBackend::MessageBox(std::string_view caption, std::string_view text)
{
    m_boxes.push_back(Box{std::string(caption), std::string(text)});
    ++m_openBoxes;
    if (m_responder) {
        const Box box = m_boxes.back();
        m_responder(box);
    }
    --m_openBoxes;
}

// The save chooser answers from the same queue: the test plays the user.
std::optional<std::string> HeadlessBackend::ChooseFileToSave(std::string_view initialPath)
{
    m_saveSuggestions.emplace_back(initialPath);
    return ChooseFileToOpen(initialPath);
}

std::optional<std::string> HeadlessBackend::ChooseFileToOpen(std::string_view)
{
    if (m_fileChoices.empty())
        return std::nullopt;
    auto choice = std::move(m_fileChoices.front());
    m_fileChoices.pop_front();
    return choice;
}

void HeadlessBackend::Post(std::function<void()> task)
{
    {
        threads::MutexLock lock(m_postedMutex);
        m_posted.push_back(std::move(task));
    }
    m_postedChanged.NotifyAll();
}

bool HeadlessBackend::WaitForPosted(std::chrono::microseconds timeout)
{
    threads::MutexLock lock(m_postedMutex);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (m_posted.empty() && m_postedChanged.WaitUntil(lock, deadline)) {
    }
    return !m_posted.empty();
}

void HeadlessBackend::RunPosted()
{
    for (;;) {
        std::function<void()> task;
        {
            threads::MutexLock lock(m_postedMutex);
            if (m_posted.empty())
                return;
            task = std::move(m_posted.front());
            m_posted.pop_front();
        }
        task();
    }
}

HeadlessBackend::DueTimer HeadlessBackend::FirstDueTimer(std::uint64_t by) const
{
    DueTimer first;
    const HeadlessWindow::Timer* best = nullptr;
    for (const auto& [dialog, window] : m_windows) {
        for (const auto& [id, timer] : window->Timers()) {
            if (timer.due > by)
                continue;
            if (!best || timer.due < best->due || (timer.due == best->due && timer.order < best->order)) {
                best = &timer;
                first = {window.get(), id, timer.due};
            }
        }
    }
    return first;
}

void HeadlessBackend::Advance(unsigned ms)
{
    const std::uint64_t target = m_now + ms;
    for (;;) {
        RunPosted();
        const DueTimer next = FirstDueTimer(target);
        if (!next.window)
            break;
        if (next.due > m_now)
            m_now = next.due;
        next.window->FireTimer(next.id, m_now);
    }
    if (m_now < target)
        m_now = target;
}

void HeadlessBackend::CatchUp(unsigned ms)
{
    m_now += ms;
    // A timer set or fired from here on falls due after m_now.
    for (;;) {
        RunPosted();
        const DueTimer next = FirstDueTimer(m_now);
        if (!next.window)
            break;
        next.window->FireTimer(next.id, m_now);
    }
}

std::optional<std::uint64_t> HeadlessBackend::NextTimerDue() const
{
    const DueTimer next = FirstDueTimer(UINT64_MAX);
    if (!next.window)
        return std::nullopt;
    return next.due;
}

} // namespace ui::headless
