#pragma once

#include <chrono>
#include <string_view>

namespace ui {

// How long LaunchBrowser waits for the opener to finish. A browser that is
// not running yet can keep the opener busy for as long as the browser runs,
// so an opener still running after this time counts as a success. The wait
// holds the window, so it is kept short: an opener that cannot open the
// address says so within a fraction of a second.
inline constexpr std::chrono::milliseconds kOpenerWait{1000};

// Opens an address in the user's browser: runs xdg-open or, when it is not
// installed, each program named in $BROWSER (a colon-separated list) in
// turn, found on PATH, with the address as its only argument. No shell is
// involved and the address is never split or interpreted, whatever
// characters it holds. Returns a result code of open_address.h:
// kOpenSucceeded when the opener ended with status 0 or is still running
// after `wait` (it is reaped in the background, never left a zombie);
// kOpenNoOpener when no opener could be started or the address cannot be
// passed safely (it holds a NUL byte, or begins with '-' and would be taken
// for an option); kOpenNoHandler when xdg-open reports that nothing can open
// the address (its status 3); otherwise the opener's exit status, or 128
// plus the signal that ended it.
int LaunchBrowser(std::string_view address, std::chrono::milliseconds wait = kOpenerWait);

} // namespace ui
