#include "ui/browser_launch.h"

#include "ui/open_address.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace ui {

// The shell opens the address with the user's chosen handler, without a
// command line in between; its result codes are the ones open_address.h
// uses (above 32 on success). `wait` does not apply: the shell returns once
// the handler was started.
int LaunchBrowser(std::string_view address, std::chrono::milliseconds /*wait*/)
{
    if (address.empty() || address.find('\0') != std::string_view::npos || address.front() == '-')
        return kOpenNoOpener;
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, address.data(),
                                             static_cast<int>(address.size()), nullptr, 0);
    if (length <= 0)
        return kOpenNoOpener;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, address.data(), static_cast<int>(address.size()), wide.data(),
                          length);
    const auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return static_cast<int>(result);
}

} // namespace ui
