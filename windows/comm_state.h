#pragma once
// The program's record and the system's device-control block, field by field.

#include "base/status.h"
#include "windows/win32.h"

namespace win32_com {

// The system's block for the record, starting from `current` (the port's
// present block, so fields the record does not hold keep their values).
// Binary mode is always on: Windows supports nothing else.
Win32Dcb ToWin32(const DCB& record, const Win32Dcb& current);

// The record for the system's block.
DCB FromWin32(const Win32Dcb& block);

// SetCommState with the whole record; the system's error, without a
// subject, when the driver refuses it.
base::Status ApplyRecord(HANDLE port, const DCB& record);

// GetCommState into the record; the system's error when the driver cannot
// tell.
base::Status ReadRecord(HANDLE port, DCB& record);

} // namespace win32_com
