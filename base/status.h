#pragma once
// The one way code below the window reports failure. A Status says whether
// an operation succeeded and, when it did not, what it failed on (the file
// or device path the operation was about), the system's error code (errno;
// 0 when no system call failed) and the words a user can read. A Result<T>
// carries either a value or the Status that explains why there is none.
//
// The port object and the window turn a Status into the fixed results and
// texts the user sees; nothing below them shows it or throws.

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace base {

class Status {
public:
    // Success.
    Status() = default;
    static Status Ok() { return Status(); }

    // A failure on `what` with the system's error code; the words are the
    // system's own for that code ("Permission denied", as strerror says).
    static Status FromErrno(std::string what, int code);
    // A failure with words of the caller's choice; code is 0 when no system
    // call failed (a value that cannot be stored, a file of the wrong kind).
    static Status Failure(std::string what, int code, std::string words);

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }

    // Empty, 0 and empty when ok.
    const std::string& what() const { return m_what; }
    int code() const { return m_code; }
    const std::string& words() const { return m_words; }

    // The same failure on another subject (a caller that knows the path the
    // user gave, where the failed call saw a resolved one).
    Status On(std::string what) const;

    // "what: words", "words" without a subject, or "OK".
    std::string ToString() const;

private:
    bool m_failed = false;
    int m_code = 0;
    std::string m_what;
    std::string m_words;
};

// A value, or the Status of the failure that left none.
template <typename T>
class Result {
    static_assert(!std::is_same_v<T, Status>, "a Status alone says success or failure");

public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    // A failure. A successful Status has no value to go with it: it is kept
    // as a failure without words rather than as a value nobody made.
    Result(Status failure)
        : m_state(std::in_place_index<1>, failure.ok() ? Status::Failure({}, 0, {}) : std::move(failure))
    {
    }

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only when ok().
    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    // Ok() when there is a value, else the failure.
    Status status() const { return ok() ? Status::Ok() : std::get<1>(m_state); }

private:
    std::variant<T, Status> m_state;
};

} // namespace base
