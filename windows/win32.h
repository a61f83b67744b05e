#pragma once
// windows.h for this folder. Windows names its own device-control block DCB
// and defines its parity and control codes as macros with the values the
// program's record (serial/dcb.h) uses; the system's record is renamed
// Win32Dcb here so both can be used side by side.

#include "serial/dcb.h"

#define DCB Win32Dcb
#include <windows.h>
#undef DCB
