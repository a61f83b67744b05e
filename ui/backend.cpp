#include "ui/backend.h"

#include "ui/browser_launch.h"
#include "ui/executable_name.h"

#include <cassert>
#include <string>

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
    std::string name = ExecutableFileName();
    if (name.empty())
        return "vantrel";
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
