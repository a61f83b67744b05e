#pragma once
// A condition variable for threads::Mutex. Its waits take the MutexLock
// that holds the mutex, and the caller tests what it waits for in its own
// code, where the lock rules see the mutex held:
//
//     threads::MutexLock lock(m_mutex);
//     while (!m_done && m_changed.WaitUntil(lock, deadline)) {
//     }

#include <chrono>
#include <condition_variable>

#include "threads/mutex.h"

namespace threads {

class ConditionVariable {
public:
    void NotifyAll() { m_condition.notify_all(); }

    // Unlocks, waits for a notification (or a spurious wake-up), and holds
    // the mutex again before it returns.
    void Wait(MutexLock& lock) { m_condition.wait(lock.Native()); }

    // The same, but no later than `deadline`: false once it has passed.
    template <typename Clock, typename Duration>
    bool WaitUntil(MutexLock& lock, const std::chrono::time_point<Clock, Duration>& deadline)
    {
        return m_condition.wait_until(lock.Native(), deadline) == std::cv_status::no_timeout;
    }

private:
    std::condition_variable m_condition;
};

} // namespace threads
