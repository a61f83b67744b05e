#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// How long LaunchBrowser waits for the opener to finish. A browser that is
// not running yet can keep the opener busy for as long as the browser runs,
// so an opener still running after this time counts as a success. The wait
// holds the window, so it is kept short: an opener that cannot open the
// address says so within a fraction of a second.
inline constexpr std::chrono::milliseconds kOpenerWait{1000};

// Opens an address in the user's browser: runs xdg-open with the address
// as its only argument and, when it is not installed or fails, each command
// of $BROWSER in turn (see BrowserCommand), until one succeeds. No shell is
// involved and the address is never split or interpreted, whatever
// characters it holds. An opener succeeds when it ends with status 0 or is
// still running after `wait` (it is reaped in the background, never left a
// zombie). Returns a result code of open_address.h: kOpenSucceeded; or the
// last opener's failure: kOpenNoOpener when it could not be started (or
// when the address cannot be passed safely: it holds a NUL byte, or begins
// with '-' and would be taken for an option), kOpenNoHandler when xdg-open
// reports that nothing can open the address (its status 3), otherwise its
// exit status, or 128 plus the signal that ended it.
int LaunchBrowser(std::string_view address, std::chrono::milliseconds wait = kOpenerWait);

// The command line of one entry of $BROWSER (a colon-separated list), as
// program and arguments: the entry split at blanks and tabs, where quotes
// ('...' or "...") keep blanks inside an argument and are removed; in each
// argument %s stands for the address and %% for a percent sign; an entry
// without %s gets the address as a last argument of its own. Empty for an
// empty entry.
std::vector<std::string> BrowserCommand(std::string_view entry, std::string_view address);

} // namespace ui
