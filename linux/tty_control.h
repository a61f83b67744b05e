#pragma once

#include <cstddef>

#include "base/status.h"
#include "serial/dcb.h"

namespace linux_tty {

// Operations on an open terminal's file descriptor, in terms of the record.

// Applies the record's line settings at once (without waiting for output)
// and then sets the DTR and RTS lines: raised for the enable and handshake
// modes, lowered for disable. A failure (EINVAL for a record termios cannot
// carry, else the driver's errno, without a subject) when the settings are
// not taken; a terminal without modem lines (a pseudo-terminal) is none.
base::Status ApplyRecord(int fd, const DCB& dcb);

// Fills the record's line settings from the terminal (see TermiosToRecord);
// the driver's errno when it cannot tell.
base::Status ReadRecord(int fd, DCB& dcb);

// Puts the terminal into raw mode (see MakeRawTermios) and drops whatever
// arrived before, which the earlier mode may have altered. The driver's
// refusal comes with its errno and no subject.
base::Status MakeRaw(int fd);

// Waits until the driver reports its output sent: on a UART and most
// USB-serial drivers, until the transmitter has emptied. Returns early when
// the output is discarded meanwhile or the device hangs up.
void DrainOutput(int fd);

// Discards output the driver still holds, ending a DrainOutput under way.
void DiscardOutput(int fd);

// Bytes the driver still holds for sending; 0 when it cannot tell.
std::size_t PendingOutput(int fd);

} // namespace linux_tty
