#!/usr/bin/python3
"""Pastes of about 1 MB into the real window's transmit box, timed as a
user meets them (goal: the window answers a click within 200 ms, and Send
starts within 1 s). Three shapes: one line without a space
(a base64 blob), one line of words, and hexadecimal lines of 16 bytes.

For each: the paste goes through the X clipboard (a helper process owns
it) and Ctrl+V, timed until the whole text is in the box; then, at once, a
real click on a check box, timed until the box reads ticked; then a click
on Send with the port open on a pseudo-terminal, timed until the first byte
arrives at the far end.

   tests/e2e/with_xvfb.sh tests/e2e/with_atspi.sh bench/long_paste_bench.py \\
       build/app/vantrel build/tests/e2e/x11_close_window [kilobytes]"""

import base64
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from desktop import centre, click, park_mouse  # noqa: E402
from pty_peer import PtyPeer  # noqa: E402
from vantrel_session import VantrelSession  # noqa: E402
from vantrel_window import open_port, wait_until  # noqa: E402

CLIPBOARD_OWNER = r"""
import sys
import gi
gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, Gtk
text = sys.stdin.read()
Gtk.Clipboard.get_default(Gdk.Display.get_default()).set_text(text, -1)
print("ready", flush=True)
Gtk.main()
"""


def shapes(size):
    blob = base64.b64encode(os.urandom(size * 3 // 4)).decode()[:size]
    words = " ".join("word%d" % i for i in range(size // 6))[:size]
    hex_lines = "\n".join(" ".join("%02X" % ((i * 16 + j) & 0xFF) for j in range(16))
                          for i in range(size // 48))
    return [("one line, no space", blob), ("one line of words", words), ("hex lines of 16 bytes", hex_lines)]


def own_clipboard(text):
    owner = subprocess.Popen(["/usr/bin/python3", "-c", CLIPBOARD_OWNER], stdin=subprocess.PIPE,
                             stdout=subprocess.PIPE, text=True)
    owner.stdin.write(text)
    owner.stdin.close()
    if owner.stdout.readline().strip() != "ready":
        raise SystemExit("the clipboard helper did not start")
    return owner


def measure(window, peer, name, text):
    tx_box = window.text_boxes()[1]
    check = window.control("check box", "Automatic empty display")
    send = window.control("push button", "Send", 0)
    window.set_text(tx_box, "")
    owner = own_clipboard(text)
    try:
        click(*centre(tx_box))
        subprocess.run(["xdotool", "key", "ctrl+v"], check=True)
        pasted = time.monotonic()
        wait_until(lambda: tx_box.get_character_count() >= len(text), 120, "the whole paste in the box")
        whole = time.monotonic()
        # The window's answer to a click made as soon as the text is in.
        ticked = window.is_checked(check)
        click(*centre(check))
        clicked = time.monotonic()
        wait_until(lambda: window.is_checked(check) != ticked, 120, "the check box to answer")
        answered = time.monotonic()
        received = len(peer.received())
        click(*centre(send))
        sent = time.monotonic()
        wait_until(lambda: len(peer.received()) > received, 60, "the first byte at the far end")
        first_byte = time.monotonic()
        park_mouse()
    finally:
        owner.kill()
        owner.wait()
    print("%-24s %8d chars  click answered %7.0f ms  whole paste %7.0f ms  send started %7.0f ms"
          % (name, len(text), (answered - clicked) * 1000, (whole - pasted) * 1000, (first_byte - sent) * 1000),
          flush=True)


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    size = int(sys.argv[3]) * 1024 if len(sys.argv) > 3 else 1024 * 1024
    peer = PtyPeer()
    try:
        with VantrelSession(sys.argv[1], sys.argv[2]) as session:
            session.write_settings("[PORTS]\nextra=%s\n[TX]\n" % peer.slave_path)
            window = session.start()
            window.press(window.control("check box", "ASCII Format", 1))  # transmit as text
            # No address bytes: the frame goes out as it is, whatever its size.
            window.choose(window.control("combo box", "Address Size"), "0-byte")
            open_port(window, peer.port_name)
            time.sleep(3)  # the pane falls back to its built-in page meanwhile
            for name, text in shapes(size):
                measure(window, peer, name, text)
            session.close_with_close_box()
    finally:
        peer.close()


if __name__ == "__main__":
    main()
