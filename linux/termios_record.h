#pragma once

// The kernel's own terminal structures (termios2, with a free baud rate).
// They clash with the C library's <termios.h>: include this header only in
// sources that do not include that one.
#include <asm/termbits.h>

#include "serial/dcb.h"

namespace linux_tty {

// True when a line can carry the record: a baud rate above 0, 5 to 8 data
// bits, and known parity and stop-bit codes.
bool RecordIsCarriable(const DCB& dcb);

// Raw mode: no echo, no line-end or other translation, no signals, no
// software flow control, every byte readable as it arrives (a received 0x04
// is data, not end of file). Line settings are left as they are.
void MakeRawTermios(termios2& tio);

// Writes the record into terminal settings, leaving the line discipline and
// unrelated bits as they are: raw mode (no echo, no line-end translation, no
// signals), the baud rate (a named rate where one exists, else a free rate),
// data bits, parity (mark and space as stick parity), stop bits (1.5 and 2
// both as two stop bits, which UARTs send as 1.5 with 5 data bits), software
// flow control and CTS output flow control only when the record asks for
// them. False, with tio unchanged, when the record is not carriable.
bool RecordToTermios(const DCB& dcb, termios2& tio);

// Reads the line settings back into the record: BaudRate, ByteSize, Parity,
// StopBits, fParity, fOutxCtsFlow, fOutX and fInX. Members the terminal
// cannot express keep the values dcb brings in, and so does a 1.5 stop-bit
// code while the terminal sends more than one stop bit.
void TermiosToRecord(const termios2& tio, DCB& dcb);

} // namespace linux_tty
