#pragma once

#include <string>
#include <string_view>

namespace ui {

// Opening an address in the user's browser (Backend::OpenAddress) answers
// with a result code: above 32 when the browser was started, otherwise a
// failure code. The failure codes this program gives:
inline constexpr int kOpenSucceeded = 33;
inline constexpr int kOpenNoOpener = 2;   // no opener program could be started
inline constexpr int kOpenNoHandler = 31; // the opener knows nothing that opens the address
// Any other failure is the opener's own exit status.

inline bool OpenSucceeded(int result)
{
    return result > 32;
}

// Opens the address through the current back end; returns its result code.
int OpenAddress(std::string_view address);

// The explanation of a failure code, as the error box shows it after its
// heading; a code outside the table gives "Unknown Error (code) occurred.".
std::string OpenErrorText(int code);

// The box that reports a failed opening: "Unable to open hyperlink:" and
// the code's explanation.
void ShowOpenError(int code);

} // namespace ui
