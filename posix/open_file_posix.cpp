#include "posix/open_file.h"

#include <fcntl.h>

namespace posix {

base::Result<FileDescriptor> OpenForReading(const std::string& path)
{
    return OpenFile(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

} // namespace posix
