#include "windows/comm_state.h"

#include "windows/windows_device_system.h"

namespace win32_com {

Win32Dcb ToWin32(const DCB& record, const Win32Dcb& current)
{
    Win32Dcb block = current;
    block.DCBlength = sizeof block;
    block.BaudRate = record.BaudRate;
    block.fBinary = TRUE;
    block.fParity = record.fParity;
    block.fOutxCtsFlow = record.fOutxCtsFlow;
    block.fOutxDsrFlow = record.fOutxDsrFlow;
    block.fDtrControl = record.fDtrControl & 3u;
    block.fDsrSensitivity = record.fDsrSensitivity;
    block.fTXContinueOnXoff = record.fTXContinueOnXoff;
    block.fOutX = record.fOutX;
    block.fInX = record.fInX;
    block.fErrorChar = record.fErrorChar;
    block.fNull = record.fNull;
    block.fRtsControl = record.fRtsControl & 3u;
    block.fAbortOnError = record.fAbortOnError;
    block.XonLim = record.XonLim;
    block.XoffLim = record.XoffLim;
    block.ByteSize = record.ByteSize;
    block.Parity = record.Parity;
    block.StopBits = record.StopBits;
    block.XonChar = record.XonChar;
    block.XoffChar = record.XoffChar;
    block.ErrorChar = record.ErrorChar;
    block.EofChar = record.EofChar;
    block.EvtChar = record.EvtChar;
    if (record.fMarkNinthBit) {
        // SPACE parity with checking, so a byte whose parity bit is 1 is a
        // parity error the reader sees (and the byte is kept, not replaced);
        // under MARK, an address going out, no checking.
        block.Parity = record.Parity == MARKPARITY ? MARKPARITY : SPACEPARITY;
        block.fParity = record.Parity != MARKPARITY;
        block.fErrorChar = FALSE;
        block.fAbortOnError = FALSE;
    }
    return block;
}

DCB FromWin32(const Win32Dcb& block)
{
    DCB record;
    record.BaudRate = block.BaudRate;
    record.fBinary = block.fBinary != 0;
    record.fParity = block.fParity != 0;
    record.fOutxCtsFlow = block.fOutxCtsFlow != 0;
    record.fOutxDsrFlow = block.fOutxDsrFlow != 0;
    record.fDtrControl = block.fDtrControl;
    record.fDsrSensitivity = block.fDsrSensitivity != 0;
    record.fTXContinueOnXoff = block.fTXContinueOnXoff != 0;
    record.fOutX = block.fOutX != 0;
    record.fInX = block.fInX != 0;
    record.fErrorChar = block.fErrorChar != 0;
    record.fNull = block.fNull != 0;
    record.fRtsControl = block.fRtsControl;
    record.fAbortOnError = block.fAbortOnError != 0;
    record.XonLim = block.XonLim;
    record.XoffLim = block.XoffLim;
    record.ByteSize = block.ByteSize;
    record.Parity = block.Parity;
    record.StopBits = block.StopBits;
    record.XonChar = block.XonChar;
    record.XoffChar = block.XoffChar;
    record.ErrorChar = block.ErrorChar;
    record.EofChar = block.EofChar;
    record.EvtChar = block.EvtChar;
    return record;
}

namespace {

base::Status LastFailure()
{
    const DWORD error = ::GetLastError();
    return base::Status::Failure({}, static_cast<int>(error), SystemErrorText(error));
}

} // namespace

base::Status ApplyRecord(HANDLE port, const DCB& record)
{
    Win32Dcb current{};
    current.DCBlength = sizeof current;
    if (!::GetCommState(port, &current))
        return LastFailure();
    Win32Dcb block = ToWin32(record, current);
    return ::SetCommState(port, &block) ? base::Status::Ok() : LastFailure();
}

base::Status ReadRecord(HANDLE port, DCB& record)
{
    Win32Dcb block{};
    block.DCBlength = sizeof block;
    if (!::GetCommState(port, &block))
        return LastFailure();
    record = FromWin32(block);
    return base::Status::Ok();
}

} // namespace win32_com
