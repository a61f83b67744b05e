#!/usr/bin/python3
"""End-to-end: SIGTERM (with a message box open), SIGINT and SIGHUP end the
real program as its close box does: exit status 0, the settings written,
and the pseudo-terminal it had open closed the normal way (its exclusive-use
flag cleared), so it opens again.
   quit_signal_test.py path/to/vantrel path/to/x11_close_window"""

import array
import fcntl
import os
import shutil
import signal
import subprocess
import tempfile

from desktop import centre, click
from vantrel_session import run_test, session_on_pty, step
from vantrel_window import wait_until

TIOCGEXCL = 0x80045440  # _IOR('T', 0x40, int)


def exclusive(fd):
    flag = array.array("i", [0])
    fcntl.ioctl(fd, TIOCGEXCL, flag)
    return flag[0] != 0


def quit_by(program, closer, signo, with_box):
    folder = tempfile.mkdtemp(prefix="vantrel-quit-")
    try:
        with session_on_pty(program, closer) as (session, window, peer):
            assert exclusive(peer._slave), "the open port is not held exclusively"
            # The folder cannot be sent: file Send shows "File loading failed.".
            window.set_text(window.control("text", "File to send"), folder)
            if with_box:
                click(*centre(window.control("push button", "Send", 1)))
                wait_until(lambda: window.message_boxes(), 5, "a message box")
            session.process.send_signal(signo)
            try:
                status = session.process.wait(10)
            except subprocess.TimeoutExpired:
                raise AssertionError("still running 10 s after %s" % signo.name)
            session.process = None
            assert status == 0, "exit status %d after %s" % (status, signo.name)
            written = session.settings().get("TX_FILT", {}).get("file")
            assert written == folder, "the settings file holds file=%r" % written
            assert not exclusive(peer._slave), "the port's exclusive-use flag is still set"
            os.close(os.open(peer.slave_path, os.O_RDWR | os.O_NOCTTY))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def test(program, closer):
    step("SIGTERM while a message box is open")
    quit_by(program, closer, signal.SIGTERM, with_box=True)
    for signo in (signal.SIGINT, signal.SIGHUP):
        step(signo.name)
        quit_by(program, closer, signo, with_box=False)


if __name__ == "__main__":
    run_test(test)
