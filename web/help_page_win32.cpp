#include "web/help_page.h"

#include "res/embedded_files.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace web {

namespace {

namespace fs = std::filesystem;

std::string ErrorText(DWORD error)
{
    return std::system_category().message(static_cast<int>(error));
}

// Writes the bytes to a new file beside `target` and moves it over the
// target in one step. Returns 0, or the Win32 error that stopped it.
DWORD ReplaceFile(const fs::path& target, std::span<const unsigned char> bytes)
{
    const fs::path temporary =
        target.parent_path() / (L".vantrel-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp");
    const HANDLE file =
        ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    DWORD error = 0;
    while (!bytes.empty() && error == 0) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            error = ::GetLastError();
        bytes = bytes.subspan(written);
    }
    if (!::CloseHandle(file) && error == 0)
        error = ::GetLastError();
    if (error == 0 && !::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        error = ::GetLastError();
    if (error != 0)
        ::DeleteFileW(temporary.c_str());
    return error;
}

// file:///C:/... : the drive's colon stays as it is.
std::string WindowsFileUrl(const fs::path& absolute)
{
    std::string url = FileUrl(fs::path(L"/" + absolute.generic_wstring()));
    constexpr std::string_view kEncodedColon = "%3A";
    const std::size_t drive = std::string_view("file:///C").size();
    if (url.compare(drive, kEncodedColon.size(), kEncodedColon) == 0)
        url.replace(drive, kEncodedColon.size(), ":");
    return url;
}

} // namespace

// The user's own folders carry the rights Windows gives them; the page is
// only rewritten there.
HelpPageResult WriteHelpPage(const HelpPlace& place)
{
    HelpPageResult result;
    const fs::path folder = place.Folder();
    std::error_code made;
    fs::create_directories(folder, made);
    if (made) {
        result.refused = folder;
        result.reason = made.message();
        return result;
    }
    result.folder = folder;
    for (std::string_view name : kHelpFiles) {
        const auto file = res::FindEmbeddedFile(name);
        const DWORD error = file ? ReplaceFile(folder / name, file->bytes) : ERROR_FILE_NOT_FOUND;
        if (error != 0) {
            result.refused = folder;
            result.reason = ErrorText(error);
            return result;
        }
    }
    result.address = WindowsFileUrl(folder / kHelpPage);
    return result;
}

HelpPageResult WriteHelpPage()
{
    for (const wchar_t* variable : {L"LOCALAPPDATA", L"TEMP"}) {
        const wchar_t* value = ::_wgetenv(variable);
        if (value != nullptr && *value != L'\0')
            return WriteHelpPage(HelpPlace{fs::path(value)});
    }
    return HelpPageResult{std::nullopt, {}, "%LOCALAPPDATA%", "neither LOCALAPPDATA nor TEMP is set"};
}

} // namespace web
