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
    modalRuns_.emplace_back(dialog.Template().caption);
    auto window = std::make_unique<HeadlessWindow>(*this, dialog, dialog.Template());
    HeadlessWindow& w = *window;
    if (auto old = windows_.find(&dialog); old != windows_.end())
        retired_.push_back(std::move(old->second));
    windows_[&dialog] = std::move(window);
    dialog.AttachWindow(&w);
    // A true result asks the system to focus the first tab stop.
    if (dialog.InitDialog())
        w.FocusFirstTabStop();
    return 0;
}

HeadlessWindow& HeadlessBackend::WindowOf(const Dialog& dialog)
{
    auto it = windows_.find(&dialog);
    if (it == windows_.end())
        throw std::logic_error("dialog has no headless window");
    return *it->second;
}

void HeadlessBackend::MessageBox(std::string_view caption, std::string_view text)
{
    boxes_.push_back(Box{std::string(caption), std::string(text)});
    ++openBoxes_;
    if (responder_) {
        const Box box = boxes_.back();
        responder_(box);
    }
    --openBoxes_;
}

std::optional<std::string> HeadlessBackend::ChooseFileToOpen(std::string_view)
{
    if (fileChoices_.empty())
        return std::nullopt;
    auto choice = std::move(fileChoices_.front());
    fileChoices_.pop_front();
    return choice;
}

void HeadlessBackend::Post(std::function<void()> task)
{
    {
        threads::MutexLock lock(postedMutex_);
        posted_.push_back(std::move(task));
    }
    postedChanged_.notify_all();
}

bool HeadlessBackend::WaitForPosted(std::chrono::microseconds timeout)
{
    threads::MutexLock lock(postedMutex_);
    return postedChanged_.wait_for(lock.Native(), timeout, [this] {
        postedMutex_.AssertHeld();
        return !posted_.empty();
    });
}

void HeadlessBackend::RunPosted()
{
    for (;;) {
        std::function<void()> task;
        {
            threads::MutexLock lock(postedMutex_);
            if (posted_.empty())
                return;
            task = std::move(posted_.front());
            posted_.pop_front();
        }
        task();
    }
}

void HeadlessBackend::Advance(unsigned ms)
{
    const std::uint64_t target = now_ + ms;
    for (;;) {
        RunPosted();
        HeadlessWindow* next = nullptr;
        unsigned nextId = 0;
        const HeadlessWindow::Timer* best = nullptr;
        for (auto& [dialog, window] : windows_) {
            for (const auto& [id, timer] : window->Timers()) {
                if (timer.due > target)
                    continue;
                if (!best || timer.due < best->due || (timer.due == best->due && timer.order < best->order)) {
                    best = &timer;
                    next = window.get();
                    nextId = id;
                }
            }
        }
        if (!best)
            break;
        if (best->due > now_)
            now_ = best->due;
        next->FireTimer(nextId, now_);
    }
    if (now_ < target)
        now_ = target;
}

} // namespace ui::headless
