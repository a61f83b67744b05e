#!/usr/bin/python3
"""End-to-end: from the real window, the hexadecimal frame "01 48 65" with a
1-byte address reaches the far side of a pseudo-terminal as exactly those
three bytes, the sent counter reads "TX: 3", and automatic transmission
repeats the frame every TX Cycle until it is switched off.
   addressed_send_test.py path/to/vantrel path/to/x11_close_window"""

import time

from vantrel_session import run_test, session_on_pty, step
from vantrel_window import wait_until

FRAME = bytes([0x01, 0x48, 0x65])
CYCLE_MS = 200


def frames_in(data):
    """How many whole frames data holds; fails on any byte out of place."""
    count, rest = divmod(len(data), len(FRAME))
    assert data[:count * len(FRAME)] == FRAME * count, "the peer got %s" % data.hex(" ")
    return count


def test(program, closer):
    with session_on_pty(program, closer) as (session, window, peer):

        step("sending 01 48 65 with a 1-byte address")
        window.choose(window.control("combo box", "Address Size"), "1-byte")
        tx_box = window.text_boxes()[1]
        window.set_text(tx_box, "01 48 65")
        window.press(window.control("push button", "Send"))
        got = peer.wait_received(lambda d: len(d) >= len(FRAME), 3)
        assert got == FRAME, "one Send: the peer got %r, expected 01 48 65" % got.hex(" ")
        tx_label = window.label_starting("TX:")
        wait_until(lambda: window.text(tx_label) == "TX: 3", 2,
                   "the label \"TX: 3\" (it reads %r)" % window.text(tx_label))

        # Automatic transmission: the frame goes out every cycle while the
        # box is ticked, and the Send button rests meanwhile.
        step("automatic transmission every %d ms" % CYCLE_MS)
        window.set_text(window.control("text", "TX Cycle(ms)"), str(CYCLE_MS))
        auto = window.control("check box", "Automatic transmission")
        window.press(auto)
        wait_until(lambda: window.is_checked(auto), 2, "the automatic-transmission tick")
        ticked_at = time.monotonic()
        got = peer.wait_received(lambda d: len(d) >= 4 * len(FRAME), 2.5)
        assert frames_in(got) >= 4, \
            "automatic transmission: %d frame(s) in 2.5 s at a %d ms cycle" % (frames_in(got) - 1, CYCLE_MS)
        first_repeat = time.monotonic() - ticked_at
        assert not window.is_enabled(window.control("push button", "Send")), \
            "Send stays enabled during automatic transmission"

        step("switching automatic transmission off")
        window.press(auto)
        wait_until(lambda: not window.is_checked(auto), 2, "the tick to clear")
        # Once stopped, nothing more may arrive over several cycles.
        settled = peer.wait_received(lambda d: False, 3 * CYCLE_MS / 1000)
        total_frames = frames_in(settled)
        later = peer.wait_received(lambda d: False, 3 * CYCLE_MS / 1000)
        assert later == settled, \
            "frames still arrive after automatic transmission was switched off"
        assert window.is_enabled(window.control("push button", "Send")), \
            "Send stays disabled after automatic transmission"
        wait_until(lambda: window.text(tx_label) == "TX: %d" % len(settled), 2,
                   "the label to count every byte sent, \"TX: %d\" (it reads %r)"
                   % (len(settled), window.text(tx_label)))
        print("sent 1 + %d automatic frames; 3 automatic frames took %.2f s"
              % (total_frames - 1, first_repeat))

        step("closing with the close box")
        status = session.close_with_close_box()
        assert status == 0, "exit status %d" % status


if __name__ == "__main__":
    run_test(test)
