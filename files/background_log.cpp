#include "files/background_log.h"

#include <utility>

namespace files {

BackgroundLog::BackgroundLog(LogFile file) : m_path(file.path()), m_file(std::move(file))
{
    m_thread = std::thread([this] { Run(); });
}

BackgroundLog::~BackgroundLog()
{
    Close();
}

void BackgroundLog::Append(std::string piece)
{
    if (piece.empty())
        return;
    threads::MutexLock lock(m_mutex);
    while (m_waiting > kMostWaiting && !m_failure)
        m_changed.Wait(lock);
    if (m_failure || m_closing)
        return;
    m_waiting += piece.size();
    m_pieces.push_back(std::move(piece));
    m_changed.NotifyAll();
}

bool BackgroundLog::Behind()
{
    threads::MutexLock lock(m_mutex);
    return m_waiting > kBehind;
}

std::optional<base::Status> BackgroundLog::TakeFailure()
{
    threads::MutexLock lock(m_mutex);
    if (!m_failure || m_failureTaken)
        return std::nullopt;
    m_failureTaken = true;
    return m_failure;
}

base::Status BackgroundLog::Close()
{
    {
        threads::MutexLock lock(m_mutex);
        m_closing = true;
        m_changed.NotifyAll();
    }
    if (m_thread.joinable())
        m_thread.join();
    const base::Status closed = m_file.Close();
    threads::MutexLock lock(m_mutex);
    return m_failure ? *m_failure : closed;
}

void BackgroundLog::Run()
{
    for (;;) {
        std::string piece;
        {
            threads::MutexLock lock(m_mutex);
            while (m_pieces.empty() && !m_closing)
                m_changed.Wait(lock);
            if (m_pieces.empty())
                return;
            piece = std::move(m_pieces.front());
            m_pieces.pop_front();
        }
        const base::Status written = m_file.Append(piece);
        threads::MutexLock lock(m_mutex);
        m_waiting -= piece.size();
        if (!written) {
            m_failure = written;
            m_pieces.clear();
            m_waiting = 0;
        }
        m_changed.NotifyAll();
        if (m_failure)
            return;
    }
}

} // namespace files
