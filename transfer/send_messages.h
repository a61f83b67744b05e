#pragma once
// The texts the user sees about sending a file, exactly as shown.

namespace transfer {

inline constexpr const char* kNoFileSpecified = "No file specified.";
inline constexpr const char* kFileLoadingFailed = "File loading failed.";
inline constexpr const char* kNoResponse = "The remote system did not respond, sending cancelled.";
inline constexpr const char* kTooManyResends = "Re-send for more than 10 times, sending cancelled.";
inline constexpr const char* kPortStillSending = "The port is still sending earlier data; nothing was sent.";
inline constexpr const char* kCancelledByRemote = "The transmission was cancelled by the remote system.";
inline constexpr const char* kYmodemNeedsCrc =
    "The receiver asked for checksum mode, but Ymodem needs CRC, sending cancelled.";

} // namespace transfer
