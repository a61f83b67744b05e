#include "files/open_file.h"

#include <fcntl.h>

namespace files {

base::Result<posix::FileDescriptor> OpenForReading(const std::string& path)
{
    return posix::OpenFile(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

} // namespace files
