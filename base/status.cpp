#include "base/status.h"

#include <system_error>

namespace base {

Status Status::FromErrno(std::string what, int code)
{
    // The category's message is the system's text (strerror's), made without
    // shared state, so any thread may build a Status.
    return Failure(std::move(what), code, std::generic_category().message(code));
}

Status Status::Failure(std::string what, int code, std::string words)
{
    Status status;
    status.m_bFailed = true;
    status.m_nCode = code;
    status.m_strWhat = std::move(what);
    status.m_strWords = std::move(words);
    return status;
}

Status Status::On(std::string what) const
{
    if (ok())
        return *this;
    return Failure(std::move(what), m_nCode, m_strWords);
}

std::string Status::ToString() const
{
    if (ok())
        return "OK";
    return m_strWhat.empty() ? m_strWords : m_strWhat + ": " + m_strWords;
}

} // namespace base
