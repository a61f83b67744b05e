#!/usr/bin/python3
"""End-to-end, with no network: the HTML pane ends on the embedded advert
page; a real click on the Help button and F1 both run xdg-open (a stand-in
first on PATH records its argument) with the file:// address of the written
help page; enlarging the real window moves the panes by the layout rule.
   pane_help_test.py path/to/vantrel path/to/x11_close_window"""

import os
import subprocess
import tempfile
from urllib.parse import unquote, urlparse

from gi.repository import Atspi, GLib

from desktop import centre, click, install_fake_opener, opened
from vantrel_session import VantrelSession, run_test, step
from vantrel_window import _descendants, wait_until


def document_title(window):
    """The title of the page in the pane, as the engine's accessible
    document reports it; None while there is none (a document that is
    being replaced can vanish mid-walk)."""
    try:
        docs = [c for c in _descendants(window.app) if c.get_role_name() == "document web"]
        return docs[0].get_name() if docs else None
    except GLib.Error:
        return None


def extents(control):
    box = control.get_extents(Atspi.CoordType.SCREEN)
    return box.x, box.y, box.width, box.height


def expect_help_page(record, count):
    wait_until(lambda: len(opened(record)) >= count, 5, "xdg-open to run %d time(s)" % count)
    address = opened(record)[count - 1]
    assert address.startswith("file:///"), "xdg-open got %r" % address
    with open(unquote(urlparse(address).path), encoding="ascii") as f:
        assert "<title>Vantrel HELP</title>" in f.read(), "%s is not the help page" % address


def resize_by(session, dx, dy):
    window = session.x11_window()
    geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                              capture_output=True, text=True, check=True).stdout
    size = dict(line.split("=") for line in geometry.split())
    subprocess.run(["xdotool", "windowsize", window, str(int(size["WIDTH"]) + dx), str(int(size["HEIGHT"]) + dy)],
                   check=True)


def test(program, closer):
    record = install_fake_opener()
    os.environ["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="vantrel-runtime-")
    with VantrelSession(program, closer) as session:
        step("starting the program without a network")
        window = session.start()
        wait_until(lambda: document_title(window) == "advert", 15,
                   "the pane to show the advert page (it shows %r)" % document_title(window))

        step("clicking the Help button")
        help_button = window.control("push button", "Help")
        assert extents(help_button)[2:] == (25, 25), "the Help button is %r" % (extents(help_button)[2:],)
        click(*centre(help_button))
        expect_help_page(record, 1)

        step("pressing F1 in the transmit box")
        rx, tx = window.text_boxes()
        click(*centre(tx))
        subprocess.run(["xdotool", "key", "F1"], check=True)
        expect_help_page(record, 2)

        step("settling the layout, then enlarging the window by 100 x 50")
        # The template leaves the panes about 10 px from the edges; the first
        # size change puts them there exactly.
        initial = extents(tx)
        resize_by(session, 1, 1)
        wait_until(lambda: extents(tx) != initial, 5, "the first layout")
        before_rx, before_tx = extents(rx), extents(tx)
        open_button = extents(window.control("push button", "Open"))
        resize_by(session, 100, 50)
        x, y, w, h = before_tx
        wait_until(lambda: extents(tx) == (x, y + 50, w + 100, h), 5,
                   "the transmit box to move down 50 and widen 100 (it is %r, was %r)" % (extents(tx), before_tx))
        x, y, w, h = before_rx
        assert extents(rx) == (x, y, w + 100, h + 50), "receive box %r, was %r" % (extents(rx), before_rx)
        assert extents(window.control("push button", "Open")) == open_button, "the left column moved"

        step("closing the program")
        assert session.close_with_close_box() == 0


if __name__ == "__main__":
    run_test(test)
