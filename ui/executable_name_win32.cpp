#include "ui/executable_name.h"

#include <windows.h>

namespace ui {

std::string ExecutableFileName()
{
    std::wstring path(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size())
        return {};
    path.resize(n);
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), text.data(), length, nullptr,
                          nullptr);
    return text;
}

} // namespace ui
