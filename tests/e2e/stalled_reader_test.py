#!/usr/bin/python3
"""End-to-end: automatic transmission of a 1000-byte frame every 10 ms into
a far end that never reads leaves the real window answering: every query
and click through the accessibility bus (served on the window's own thread)
returns within 100 ms, and a Send refused by the full queue says so in one
message box. Once the far end reads, what arrives equals the sent
counter.
   stalled_reader_test.py path/to/vantrel path/to/x11_close_window"""

import os
import select
import subprocess
import time
import tty

import desktop
from vantrel_session import VantrelSession, run_test, step
from vantrel_window import open_port, wait_until

FRAME_BYTES = 1000
CYCLE_MS = 10
ANSWER_LIMIT = 0.1


class StalledPeer:
    """A pseudo-terminal whose far end reads nothing until drain()."""

    def __init__(self):
        self.master, self._slave = os.openpty()
        tty.setraw(self._slave)
        self.port_name = os.ttyname(self._slave)[len("/dev/"):]
        os.set_blocking(self.master, False)

    def drain(self, quiet=1.0):
        """Reads until nothing has come for `quiet` seconds."""
        data = bytearray()
        while select.select([self.master], [], [], quiet)[0]:
            try:
                data += os.read(self.master, 65536)
            except BlockingIOError:
                continue
        return bytes(data)

    def close(self):
        os.close(self.master)
        os.close(self._slave)


def timed(times, action):
    start = time.monotonic()
    result = action()
    times.append(time.monotonic() - start)
    return result


def test(program, closer):
    peer = StalledPeer()
    try:
        with VantrelSession(program, closer) as session:
            session.write_settings("[PORTS]\nextra=/dev/%s\n" % peer.port_name)
            step("starting the program")
            window = session.start()
            open_port(window, peer.port_name)
            window.choose(window.control("combo box", "Address Size"), "0-byte")
            window.press(window.control("check box", "ASCII Format", 1))
            window.set_text(window.text_boxes()[1], "U" * FRAME_BYTES)
            window.set_text(window.control("text", "TX Cycle(ms)"), str(CYCLE_MS))
            tx_label = window.label_starting("TX:")
            auto = window.control("check box", "Automatic transmission")
            send = window.control("push button", "Send")

            step("a %d-byte frame every %d ms into a far end that does not read" % (FRAME_BYTES, CYCLE_MS))
            answers = []
            timed(answers, lambda: window.press(auto))
            end = time.monotonic() + 5
            while time.monotonic() < end:
                timed(answers, lambda: window.text(tx_label))
                time.sleep(0.02)
            clicks = []
            for _ in range(21):  # ends stopped
                timed(clicks, lambda: window.press(auto))
                timed(answers, lambda: window.text(tx_label))
            wait_until(lambda: window.is_enabled(send), 2, "Send to be enabled again")
            # A Send the full queue refuses says so, once.
            desktop.click(*desktop.centre(send))
            boxes = wait_until(window.message_boxes, 5, "the refused Send's message box")
            assert len(boxes) == 1 and "still sending earlier data" in boxes[0], "boxes: %s" % boxes
            subprocess.run(["xdotool", "key", "Return"], check=True)
            wait_until(lambda: not window.message_boxes(), 5, "the message box to close")
            counted = int(window.text(tx_label).split()[1])
            print("while stalled: %d queries, slowest %.1f ms, median %.1f ms; %d clicks, slowest %.1f ms"
                  % (len(answers), 1000 * max(answers), 1000 * sorted(answers)[len(answers) // 2],
                     len(clicks), 1000 * max(clicks)))
            assert max(answers) < ANSWER_LIMIT and max(clicks) < ANSWER_LIMIT, "the window answered slowly"

            step("the far end reads")
            got = peer.drain()
            print("counted %d bytes; the far end got %d" % (counted, len(got)))
            assert len(got) == counted, "the far end got %d bytes, the counter says %d" % (len(got), counted)
            assert got == b"U" * counted, "the far end got other bytes than were sent"

            status = session.close_with_close_box()
            assert status == 0, "exit status %d" % status
    finally:
        peer.close()


if __name__ == "__main__":
    run_test(test)
