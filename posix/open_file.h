#pragma once
// Opening a file for reading the same way on every system.

namespace posix {

// Opens the file at `path` (UTF-8) read-only, in binary mode (no line-end
// translation), without waiting (a named pipe must not hold the caller),
// never as a controlling terminal and not inherited by child processes.
// Returns the descriptor, or -1 with errno set.
int OpenForReading(const char* path);

} // namespace posix
