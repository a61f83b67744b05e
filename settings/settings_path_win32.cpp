#include "settings/profile.h"
#include "settings/settings_path_system.h"

#include <windows.h>

#include <string>

namespace settings {
namespace {

constexpr const wchar_t* kConfigFolder = L"\\vantrel";

std::wstring Wide(const std::string& text)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Utf8(const std::wstring& wide)
{
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                          nullptr);
    return text;
}

std::wstring Environment(const wchar_t* name)
{
    const DWORD length = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0)
        return {};
    std::wstring value(length, L'\0');
    const DWORD written = ::GetEnvironmentVariableW(name, value.data(), length);
    if (written == 0 || written >= length)
        return {};
    value.resize(written);
    return value;
}

// Whether folder lies in one of the system's Program Files folders, where
// installers put programs.
bool InProgramFiles(const std::string& folder)
{
    const std::wstring path = Wide(folder);
    for (const wchar_t* name : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432"}) {
        std::wstring root = Environment(name);
        while (!root.empty() && (root.back() == L'\\' || root.back() == L'/'))
            root.pop_back();
        if (root.empty() || path.size() <= root.size() || (path[root.size()] != L'\\' && path[root.size()] != L'/'))
            continue;
        if (::CompareStringOrdinal(path.data(), static_cast<int>(root.size()), root.data(),
                                   static_cast<int>(root.size()), TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

} // namespace

bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

char PathSeparator()
{
    return '\\';
}

bool PathExists(const std::string& path)
{
    return ::GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Access rights decide, not the read-only attribute (which Windows ignores
// on folders): the only sure test is making a file there, which goes again
// when its handle closes. A folder in Program Files counts as closed even
// where this process could write there (an administrator's, or under Wine,
// which keeps no access rights): a copy installed there keeps each user's
// settings in that user's own profile, as users of installed programs
// expect; writing beside it is for the portable copy.
bool IsWritableFolder(const std::string& folder)
{
    if (InProgramFiles(folder))
        return false;
    const std::wstring probe = Wide(folder.empty() ? std::string(".\\") : folder) + L"vantrel-write-test.tmp";
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

std::string UserSettingsFolder()
{
    const std::wstring appData = Environment(L"APPDATA");
    return appData.empty() ? std::string() : Utf8(appData + kConfigFolder);
}

std::string ExecutablePath()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return Utf8(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace settings
