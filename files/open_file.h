#pragma once
// Opening a file for reading the same way on every system.

#include "base/status.h"
#include "posix/file_descriptor.h"

#include <string>

namespace files {

// Opens the file at `path` (UTF-8) read-only, in binary mode (no line-end
// translation), without waiting (a named pipe must not hold the caller),
// never as a controlling terminal and not inherited by child processes.
// A folder fails with EISDIR on every system.
base::Result<posix::FileDescriptor> OpenForReading(const std::string& path);

} // namespace files
