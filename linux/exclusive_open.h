#pragma once

#include <string>

#include "base/status.h"
#include "posix/file_descriptor.h"

namespace linux_tty {

// Opens a terminal device for reading and writing without making it the
// controlling terminal and without blocking on carrier, and marks it for
// exclusive use two ways: an advisory lock (flock), which stops programs that
// take such locks themselves, and TIOCEXCL, which makes any other open fail
// with EBUSY for every user but root. Root passes both. Returns the
// descriptor, or the failure on path with its errno (EBUSY when another
// holds the device, ENOTTY when the path is not a terminal).
base::Result<posix::FileDescriptor> OpenExclusive(const std::string& path);

// Gives a descriptor from OpenExclusive back: clears the exclusive-use flag
// (on a pseudo-terminal it would outlive the descriptor and lock everyone
// but root out until the far end closes), drops the lock and closes.
void ReleaseExclusive(posix::FileDescriptor terminal);

// True when a descriptor refers to a pseudo-terminal, whose output needs no
// time on a line.
bool IsPseudoTerminal(int fd);

} // namespace linux_tty
