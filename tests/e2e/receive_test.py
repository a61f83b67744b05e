#!/usr/bin/python3
"""End-to-end: bytes written by the far side of a pseudo-terminal into a
port opened in the real window show up in the receive box as hexadecimal,
then as text, with the counter label matching; and a fast burst of 100000
bytes is counted to the last byte.
   receive_test.py path/to/vantrel path/to/x11_close_window"""

from vantrel_session import run_test, session_on_pty, step
from vantrel_window import wait_until

BURST = 100000


def test(program, closer):
    with session_on_pty(program, closer) as (session, window, peer):
        rx_box = window.text_boxes()[0]
        rx_label = window.label_starting("RX:")

        def expect(box_text, label_text, timeout, what):
            wait_until(lambda: window.text(rx_box) == box_text and window.text(rx_label) == label_text,
                       timeout, "%s: box %r and label %r (they read %r and %r)"
                       % (what, box_text, label_text, window.text(rx_box), window.text(rx_label)))

        step("receiving hi CR LF as hexadecimal")
        assert peer.write_all(b"hi\r\n", 2) == 4
        expect("68 69 0D 0A ", "RX: 4", 3, "hexadecimal display")

        # The receive box's own "Clear" is the first of the window's three.
        step("clearing the box and receiving as text")
        window.press(window.control("push button", "Clear", 0))
        wait_until(lambda: window.text(rx_box) == "", 2, "the receive box to empty")
        rx_ascii = window.control("check box", "ASCII Format", 0)
        window.press(rx_ascii)
        wait_until(lambda: window.is_checked(rx_ascii), 2, "the receive ASCII Format tick")
        assert peer.write_all(b"ok\tA\r\n", 2) == 6
        expect("ok\tA\r\n", "RX: 10", 3, "text display")

        step("receiving a burst of %d bytes" % BURST)
        window.press(rx_ascii)
        wait_until(lambda: not window.is_checked(rx_ascii), 2, "the tick to clear")
        burst = bytes(i % 251 for i in range(BURST))
        assert peer.write_all(burst, 20) == BURST, "the program stopped taking bytes"
        total = 10 + BURST
        wait_until(lambda: window.text(rx_label) == "RX: %d" % total, 10,
                   "\"RX: %d\" (it reads %r)" % (total, window.text(rx_label)))
        # The burst's tail is on show, in hexadecimal; automatic emptying
        # keeps the box within its limit.
        shown = window.text(rx_box)
        tail = " ".join("%02X" % b for b in burst[-16:]) + " "
        assert shown.endswith(tail), "the box does not end with the burst's last bytes: %r" % shown[-60:]
        assert len(shown) <= 4096, "the box holds %d characters, beyond its limit" % len(shown)

        step("closing with the close box")
        status = session.close_with_close_box()
        assert status == 0, "exit status %d" % status


if __name__ == "__main__":
    run_test(test)
