#include "posix/open_file.h"

#include <fcntl.h>

namespace posix {

int OpenForReading(const char* path)
{
    return ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

} // namespace posix
