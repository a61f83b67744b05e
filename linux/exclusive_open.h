#pragma once

#include <string>

namespace linux_tty {

// Opens a terminal device for reading and writing without making it the
// controlling terminal and without blocking on carrier. The device is held
// exclusively: TIOCEXCL keeps other openers out, and an advisory lock keeps
// out those TIOCEXCL lets through (root) and cooperating programs. Returns
// the descriptor, or -1 with error set to an errno code (EBUSY when another
// holds the device, ENOTTY when the path is not a terminal).
int OpenExclusive(const std::string& path, int& error);

// True when a descriptor refers to a pseudo-terminal, whose output needs no
// time on a line.
bool IsPseudoTerminal(int fd);

} // namespace linux_tty
