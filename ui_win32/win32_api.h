#pragma once

// The Win32 headers, for this folder only. The framework has functions
// named like some of the system's Unicode/ANSI macros (MessageBox,
// PostMessage, ...); those macros are undone here, so a name means the
// same in every file, and this folder calls the system's ...W functions by
// their full names. The framework's own constants of the same names
// (IDOK, SC_CLOSE, DBT_DEVICEARRIVAL, ...) come first and keep their
// names; they have the system's values.
#include "ui/message.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <dbt.h>
#include <shellapi.h>

#undef MessageBox
#undef PostMessage
#undef SetWindowText
#undef GetWindowText
#undef LoadIcon
#undef LoadBitmap
#undef DrawText
#undef GetObject
#undef CreateWindow
#undef Yield
#undef IDOK
#undef IDCANCEL
#undef SC_CLOSE
#undef SC_MINIMIZE
#undef DBT_DEVICEARRIVAL
#undef DBT_DEVICEREMOVECOMPLETE
