#pragma once
// Owns a Win32 handle and closes it when it goes out of scope, as
// posix::FileDescriptor owns a descriptor.

#include <utility>

// The handle functions alone: the whole of windows.h would also declare the
// system's DCB, which windows/win32.h renames before it includes it.
#include <windef.h>
#include <handleapi.h>

namespace win32 {

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }

    HANDLE get() const { return m_handle; }
    // Win32 has two values for no handle: CreateFile's INVALID_HANDLE_VALUE
    // and CreateEvent's null. Neither is valid, and neither is closed.
    bool valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }

    // Closes now, reporting the result.
    bool Close()
    {
        const HANDLE handle = std::exchange(m_handle, nullptr);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle);
    }

private:
    HANDLE m_handle = nullptr;
};

} // namespace win32
