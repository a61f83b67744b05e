#include "ui/backend.h"

#include "ui/browser_launch.h"

#include <cassert>
#include <climits>
#include <string>
#include <unistd.h>

namespace ui {

namespace {
Backend* g_backend = nullptr;
}

Backend& CurrentBackend()
{
    assert(g_backend && "no window-system back end installed");
    return *g_backend;
}

void SetBackend(Backend* backend)
{
    g_backend = backend;
}

int Backend::OpenAddress(std::string_view address)
{
    return LaunchBrowser(address);
}

namespace {

std::string ReadApplicationTitle()
{
    // The executable's own file name, as the system records it, without its
    // extension (a Linux binary rarely has one, but "vantrel.bin" would lose it).
    std::string path(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0)
        return "vantrel";
    path.resize(static_cast<std::size_t>(n));
    std::string name = path.substr(path.find_last_of('/') + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

} // namespace

void InitApplicationTitle()
{
    ApplicationTitle();
}

const std::string& ApplicationTitle()
{
    static const std::string title = ReadApplicationTitle();
    return title;
}

void AfxMessageBox(std::string_view text)
{
    CurrentBackend().MessageBox(ApplicationTitle(), text);
}

} // namespace ui
