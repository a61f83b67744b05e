#pragma once
// Clang's thread-safety annotations and a mutex that carries them.
//
// A member that more than one thread touches is declared GUARDED_BY the
// mutex that protects it; a function that expects the mutex held says
// REQUIRES, one that takes it itself says EXCLUDES. Built with clang and
// -Wthread-safety, an access without the lock is a compile error. Other
// compilers see empty macros.
//
// std::mutex carries no annotations in libstdc++, hence the thin wrapper.
// Waits go through threads::ConditionVariable (condition_variable.h).

#include <mutex>

#if defined(__clang__)
#define VANTREL_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define VANTREL_THREAD_ANNOTATION(x)
#endif

#define CAPABILITY(x) VANTREL_THREAD_ANNOTATION(capability(x))
#define SCOPED_CAPABILITY VANTREL_THREAD_ANNOTATION(scoped_lockable)
#define GUARDED_BY(x) VANTREL_THREAD_ANNOTATION(guarded_by(x))
#define PT_GUARDED_BY(x) VANTREL_THREAD_ANNOTATION(pt_guarded_by(x))
#define REQUIRES(...) VANTREL_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define EXCLUDES(...) VANTREL_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#define ACQUIRE(...) VANTREL_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define RELEASE(...) VANTREL_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define ASSERT_CAPABILITY(x) VANTREL_THREAD_ANNOTATION(assert_capability(x))
#define NO_THREAD_SAFETY_ANALYSIS VANTREL_THREAD_ANNOTATION(no_thread_safety_analysis)

namespace threads {

class CAPABILITY("mutex") Mutex {
public:
    Mutex() = default;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void Lock() ACQUIRE() { m_mutex.lock(); }
    void Unlock() RELEASE() { m_mutex.unlock(); }

    std::mutex& Native() { return m_mutex; }

private:
    std::mutex m_mutex;
};

// Holds a Mutex for its scope.
class SCOPED_CAPABILITY MutexLock {
public:
    explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : m_lock(mutex.Native()) {}
    ~MutexLock() RELEASE() {}
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

    // For ConditionVariable's waits, which unlock and relock it; the mutex
    // is held again whenever a wait returns.
    std::unique_lock<std::mutex>& Native() { return m_lock; }

private:
    std::unique_lock<std::mutex> m_lock;
};

} // namespace threads
