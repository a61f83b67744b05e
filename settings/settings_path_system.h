#pragma once
// The system's part of finding the settings file (settings_path_posix.cpp,
// settings_path_win32.cpp); the choice itself is SettingsPath's.

#include <string>

namespace settings {

// Whether c separates folder names in a path.
bool IsPathSeparator(char c);

// The separator this system writes between folder and file names.
char PathSeparator();

// Whether anything stands at path (a link counts, whatever it points to).
bool PathExists(const std::string& path);

// Whether folder ("" is the working folder) exists and this process may
// create files in it.
bool IsWritableFolder(const std::string& folder);

// The user's own settings folder for this program (~/.config/vantrel,
// %APPDATA%\vantrel); empty when the system names none.
std::string UserSettingsFolder();

} // namespace settings
