#pragma once
// The system's part of replacing a file (atomic_replace_posix.cpp,
// atomic_replace_win32.cpp), in errno values; atomic_replace.cpp turns them
// into the status the callers see.

#include <string>
#include <string_view>

namespace settings {

// 0 when the file at path may be replaced, else the errno value that says why not.
int ReplaceableError(const std::string& path);

// 0 once text has replaced the file's content, else the errno value of the
// first step that failed.
int Replace(const std::string& path, std::string_view text);

} // namespace settings
