#include "ui/executable_name.h"

#include <climits>
#include <unistd.h>

namespace ui {

std::string ExecutableFileName()
{
    std::string path(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0)
        return {};
    path.resize(static_cast<std::size_t>(n));
    return path.substr(path.find_last_of('/') + 1);
}

} // namespace ui
