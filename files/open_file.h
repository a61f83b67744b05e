#pragma once
// Opening a file for reading the same way on every system.

#include "base/status.h"
#include "posix/file_descriptor.h"

#include <cstdint>
#include <string>

namespace files {

// Opens the file at `path` (UTF-8) read-only, in binary mode (no line-end
// translation), without waiting (a named pipe must not hold the caller),
// never as a controlling terminal and not inherited by child processes.
// A folder fails with EISDIR on every system.
base::Result<posix::FileDescriptor> OpenForReading(const std::string& path);

// Creates the file at `path` (UTF-8) for writing, or empties one standing
// there, in binary mode and not inherited; a symbolic link planted at the
// path is not followed (ELOOP) where the system has them.
base::Result<posix::FileDescriptor> OpenForLogging(const std::string& path);

// Cuts the open file back to `size` bytes.
base::Status CutTo(int fd, std::uint64_t size, const std::string& path);

} // namespace files
