#!/usr/bin/python3
"""End-to-end: the window menu's line signal entries through the real
window (a real right click and a real click on the entry). On a
pseudo-terminal, which has no modem lines, "DTR" shows one box with the
system's reason and the port stays open; the box closes with its OK.
   line_signals_test.py path/to/vantrel path/to/x11_close_window"""

from capture_test import choose_from_window_menu
from desktop import centre, click
from vantrel_session import run_test, session_on_pty, step
from vantrel_window import _descendants, wait_until


def test(program, closer):
    with session_on_pty(program, closer) as (session, window, peer):
        step("DTR on a line without modem lines")
        choose_from_window_menu(session, window, "DTR")
        boxes = wait_until(lambda: window.message_boxes(), 5, "the box")
        assert boxes[0].startswith("Port '%s' cannot set DTR: Inappropriate ioctl for device." % peer.port_name), \
            boxes
        ok = wait_until(lambda: next((c for c in _descendants(window.app)
                                      if c.get_role_name() == "push button" and c.get_name() == "OK"), None),
                        5, "the box's OK")
        click(*centre(ok))
        wait_until(lambda: not window.message_boxes(), 5, "the box to close")
        assert not window.is_enabled(window.control("push button", "Open")), "the port closed"
        assert session.close_with_close_box() == 0


if __name__ == "__main__":
    run_test(test)
