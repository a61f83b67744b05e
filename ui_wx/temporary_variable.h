#pragma once

#include <cstdlib>

namespace ui_wx {

// An environment variable the user has not set, set until this goes: what
// starts meanwhile (the toolkit, the browser engine's processes) sees it;
// programs started later (the user's browser) do not inherit it. A value
// the user set stays as it is.
class TemporaryVariable {
public:
    TemporaryVariable(const char* name, const char* value)
        : m_name(name), m_set(std::getenv(name) == nullptr && ::setenv(name, value, 0) == 0)
    {
    }
    ~TemporaryVariable()
    {
        if (m_set)
            ::unsetenv(m_name);
    }
    TemporaryVariable(const TemporaryVariable&) = delete;
    TemporaryVariable& operator=(const TemporaryVariable&) = delete;

    // Whether this set the variable (the user had not).
    explicit operator bool() const { return m_set; }

private:
    const char* m_name;
    bool m_set;
};

} // namespace ui_wx
