#pragma once
// A log file written on a thread of its own, so the caller's thread (the
// window's) never waits for the disk: not for a slow one, and not for the
// system holding back a writer that fills its cache faster than the disk
// takes it. Pieces are handed over whole and written in order; the first
// failure stops the writing (the file stays as the last whole piece left
// it, see LogFile) and waits to be collected.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <thread>

#include "base/status.h"
#include "files/log_file.h"
#include "threads/condition_variable.h"
#include "threads/mutex.h"

namespace files {

class BackgroundLog {
public:
    // Starts the writer for a file already created.
    explicit BackgroundLog(LogFile file);
    // Writes what is still handed over, then closes the file.
    ~BackgroundLog();

    BackgroundLog(const BackgroundLog&) = delete;
    BackgroundLog& operator=(const BackgroundLog&) = delete;

    const std::string& path() const { return m_path; }

    // Hands a piece over. Waits only while more than kMostWaiting bytes
    // wait for a disk slower than the line, so nothing is ever dropped.
    void Append(std::string piece) EXCLUDES(m_mutex);

    // Whether more than kBehind bytes wait for the disk: a caller that can
    // hold its source back (the port, whose driver then holds the line)
    // should, rather than hand over more and wait in Append.
    bool Behind() EXCLUDES(m_mutex);

    // The writer's failure, once: the log has stopped. Nothing while it
    // writes.
    std::optional<base::Status> TakeFailure() EXCLUDES(m_mutex);

    // Waits for everything handed over to be written, then closes the file:
    // the first failure, if any.
    base::Status Close() EXCLUDES(m_mutex);

    static constexpr std::size_t kMostWaiting = std::size_t{64} << 20;
    static constexpr std::size_t kBehind = std::size_t{16} << 20;

private:
    void Run() EXCLUDES(m_mutex);

    const std::string m_path;
    threads::Mutex m_mutex;
    threads::ConditionVariable m_changed; // a piece came, one was written, closing
    std::deque<std::string> m_pieces GUARDED_BY(m_mutex);
    std::size_t m_waiting GUARDED_BY(m_mutex) = 0; // bytes in m_pieces
    bool m_closing GUARDED_BY(m_mutex) = false;
    bool m_failureTaken GUARDED_BY(m_mutex) = false;
    std::optional<base::Status> m_failure GUARDED_BY(m_mutex);
    LogFile m_file; // the writer's alone until it has ended
    std::thread m_thread;
};

} // namespace files
