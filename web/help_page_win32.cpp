#include "web/help_page.h"

#include "files/replace_atomically.h"
#include "res/embedded_files.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>

namespace web {

namespace {

namespace fs = std::filesystem;

// The path in UTF-8, as the file layer takes it.
std::string Utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
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
        result.refusal = base::Status::Failure(Utf8(folder), made.value(), made.message());
        return result;
    }
    result.folder = folder;
    for (std::string_view name : kHelpFiles) {
        const auto file = res::FindEmbeddedFile(name);
        const std::string path = Utf8(folder / name);
        const base::Status written =
            file ? files::ReplaceAtomically(path,
                                            {reinterpret_cast<const char*>(file->bytes.data()), file->bytes.size()},
                                            {.makeFolders = false, .followLink = false, .newFileMode = 0600})
                 : base::Status::FromErrno(path, ENOENT);
        if (!written) {
            result.refusal = written.On(Utf8(folder));
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
    return HelpPageResult{
        std::nullopt, {}, base::Status::Failure("%LOCALAPPDATA%", 0, "neither LOCALAPPDATA nor TEMP is set")};
}

} // namespace web
