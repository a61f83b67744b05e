#!/usr/bin/python3
"""End-to-end: the window menu opens the About box, whose link shows the
maker's address without its scheme; a real click on the link runs xdg-open
(a stand-in first on PATH records its argument) with the full address and
turns the link to the followed colour; the next About box shows the link
unvisited again.
   about_link_test.py path/to/vantrel path/to/x11_close_window"""

import subprocess

from gi.repository import Atspi

from desktop import centre, click, install_fake_opener, opened, park_mouse, screen_colours
from vantrel_session import VantrelSession, run_test, step
from vantrel_window import _descendants, wait_until

ADDRESS = "https://www.vantrel.org/"
SHOWN = "www.vantrel.org/"
NORMAL = (0x00, 0x00, 0xEE)
FOLLOWED = (0x55, 0x1A, 0x8B)


def about_box(window):
    for i in range(window.app.get_child_count()):
        top = window.app.get_child_at_index(i)
        if top is not None and top.get_name() == "About Vantrel":
            return top
    return None


def open_about(window):
    """Right-clicks the window's background (a label takes no clicks of its
    own) and picks the window menu's only entry with the keyboard."""
    park_mouse()
    click(*centre(window.label_starting("TX:")), button=3)
    wait_until(lambda: any(c.get_role_name() == "menu item" and c.get_name() == "About Vantrel..."
                           for c in _descendants(window.app)), 5, "the window menu")
    subprocess.run(["xdotool", "key", "Down", "Return"], check=True)
    box = wait_until(lambda: about_box(window), 5, "the About box")
    link = wait_until(lambda: next((c for c in _descendants(box) if c.get_role_name() == "link"), None),
                      5, "the About box's link")
    park_mouse()
    return box, link


def link_colours(link):
    box = link.get_extents(Atspi.CoordType.SCREEN)
    return screen_colours(box.x, box.y, box.width, box.height)


def close_about(window, box):
    ok = next(c for c in _descendants(box) if c.get_role_name() == "push button" and c.get_name() == "OK")
    window.press(ok)
    wait_until(lambda: about_box(window) is None, 5, "the About box to close")


def test(program, closer):
    record = install_fake_opener()
    with VantrelSession(program, closer) as session:
        step("starting the program")
        window = session.start()

        step("opening the About box from the window menu")
        box, link = open_about(window)
        assert link.get_name() == SHOWN, "the link shows %r, expected %r" % (link.get_name(), SHOWN)
        wait_until(lambda: NORMAL in link_colours(link), 3, "the link in its normal colour")

        step("clicking the link")
        click(*centre(link))
        wait_until(lambda: opened(record), 5, "xdg-open to run")
        assert opened(record) == [ADDRESS], "xdg-open got %r, expected %r" % (opened(record), [ADDRESS])
        park_mouse()
        wait_until(lambda: FOLLOWED in link_colours(link), 3,
                   "the link in the followed colour (it shows %r)" % sorted(link_colours(link))[:8])
        close_about(window, box)

        step("opening the About box again")
        box, link = open_about(window)
        wait_until(lambda: NORMAL in link_colours(link), 3, "the link in its normal colour")
        assert FOLLOWED not in link_colours(link), "the new About box shows the link as followed"
        close_about(window, box)

        step("closing the program")
        assert session.close_with_close_box() == 0


if __name__ == "__main__":
    run_test(test)
