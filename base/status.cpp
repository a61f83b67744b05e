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
    status.m_failed = true;
    status.m_code = code;
    status.m_what = std::move(what);
    status.m_words = std::move(words);
    return status;
}

Status Status::On(std::string what) const
{
    if (ok())
        return *this;
    return Failure(std::move(what), m_code, m_words);
}

std::string Status::ToString() const
{
    if (ok())
        return "OK";
    return m_what.empty() ? m_words : m_what + ": " + m_words;
}

} // namespace base
