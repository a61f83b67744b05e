#pragma once
// The program's settings file: INI profile functions, the struct-value text
// form, the decimal parse and where the file lives.
//
// Section and key names compare without regard to ASCII case. A file that is
// missing, unreadable or damaged never fails a read: the caller's default is
// returned instead. Every write replaces the whole file atomically and keeps
// the sections, keys and comments it does not touch.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"

namespace settings {

// Returns the value of section/key in the file at path, or defaultValue when
// the file, section or key is missing or the file cannot be read. The result
// is cut to bufferSize - 1 characters; bufferSize 0 means no limit.
std::string GetProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                             std::size_t bufferSize, const std::string& path);

// Reads a record stored in the struct-value text form. Returns true and fills
// data only when the value is present, has 2 * size + 2 characters, all hex
// digits, and its checksum matches; otherwise data is left untouched.
bool GetProfileStruct(std::string_view section, std::string_view key, void* data, std::size_t size,
                      const std::string& path);

// Creates or replaces section/key. Fails, leaving the old file whole, when
// the file cannot be read or replaced (a folder, a FIFO, a read-only file or
// folder, a full disk, a parent that is not a folder), or when the names or
// the value cannot be stored as one INI line (line breaks, NUL, '=' in a
// key, ...). A failure is on path, in strerror's words ("Permission
// denied", "No space left on device", ...). A write that would leave the
// file's text unchanged does not touch the file, but still fails when the
// file is read-only.
base::Status WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                                const std::string& path);

// Writes a record in the struct-value text form; failures as above.
base::Status WriteProfileStruct(std::string_view section, std::string_view key, const void* data, std::size_t size,
                                const std::string& path);

// The struct-value text form: each byte as two upper-case hex digits, then the
// checksum byte (sum of the bytes modulo 256) the same way.
std::string FormatStruct(const void* data, std::size_t size);

// strtol base 10: leading white space, optional sign, digits up to the first
// other character; no digits gives 0; out-of-range values clamp to int32.
std::int32_t ParseDecimal(std::string_view text);

// The settings file for the executable at executablePath: "vantrel.ini"
// beside it when that file exists or its folder is writable, otherwise
// $XDG_CONFIG_HOME/vantrel/vantrel.ini (default ~/.config/vantrel/vantrel.ini;
// on Windows %APPDATA%\vantrel\vantrel.ini).
// An empty executablePath gives an empty result.
std::string SettingsPath(const std::string& executablePath);

// The running executable's full path (/proc/self/exe, GetModuleFileNameW),
// in UTF-8; empty on failure.
std::string ExecutablePath();

} // namespace settings
