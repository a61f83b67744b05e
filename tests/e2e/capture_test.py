#!/usr/bin/python3
"""End-to-end: the window menu's "Log to File..." (a real right click, a real
click on the entry) opens the real GTK save chooser in the folder the
settings file names, with a vantrel-YYYYMMDD-HHMMSS.log name filled in;
Enter takes it, the title bar names the log, and 100 MB streamed at full
speed through a pseudo-terminal land in the file byte for byte (the receive
box meanwhile keeps only its 4096 characters). Choosing the entry again
stops the log.
   capture_test.py path/to/vantrel path/to/x11_close_window"""

import os
import re
import shutil
import subprocess
import tempfile
import time

from gi.repository import GLib

from desktop import click
from file_chooser_test import chooser_window, keys, wait_chooser_gone
from vantrel_session import run_test, session_on_pty, step
from vantrel_window import _descendants, wait_until

SIZE = 100 * 1000 * 1000


def menu_entry(window, name):
    """The shown window menu's entry of that name, or None."""
    try:
        return next((c for c in _descendants(window.app)
                     if c.get_role_name() in ("menu item", "check menu item") and c.get_name() == name), None)
    except GLib.Error:
        return None


def choose_from_window_menu(session, window, name):
    geometry = subprocess.run(["xdotool", "getwindowgeometry", session.x11_window()], capture_output=True,
                              text=True).stdout
    x, y = map(int, re.search(r"Position: (\d+),(\d+)", geometry).groups())
    click(x + 200, y + 690, 3)  # the background below the counters
    entry = wait_until(lambda: menu_entry(window, name), 5, "the window menu's %r" % name)
    from gi.repository import Atspi
    box = entry.get_extents(Atspi.CoordType.SCREEN)
    click(box.x + box.width // 2, box.y + box.height // 2)


def start_log(session, window):
    """Log to File... from the window menu, taking the save chooser's suggestion with Enter."""
    choose_from_window_menu(session, window, "Log to File...")
    chooser = wait_until(lambda: chooser_window(session), 10, "the save chooser")
    subprocess.run(["xdotool", "windowfocus", "--sync", chooser], check=True)
    time.sleep(0.5)
    keys("Return")
    wait_chooser_gone(session)


def test(program, closer):
    folder = tempfile.mkdtemp(prefix="vantrel-capture-")
    try:
        with session_on_pty(program, closer, "[LOG]\nfolder=%s\n" % folder) as (session, window, peer):
            step("Log to File... and the save chooser's suggestion")
            start_log(session, window)
            logs = wait_until(lambda: [n for n in os.listdir(folder) if n.endswith(".log")], 5, "the log file")
            assert re.fullmatch(r"vantrel-\d{8}-\d{6}\.log", logs[0]), logs
            path = os.path.join(folder, logs[0])
            title = subprocess.run(["xdotool", "getwindowname", session.x11_window()], capture_output=True,
                                   text=True).stdout.strip()
            assert title == "Vantrel - logging to " + path, title

            step("100 MB at full speed")
            data = bytes((i * 7 + i // 251) % 256 for i in range(1 << 16)) * (SIZE // (1 << 16)) + b"end"
            began = time.monotonic()
            assert peer.write_all(data, 120) == len(data), "the program stopped taking bytes"
            rx = window.label_starting("RX:")
            wait_until(lambda: window.text(rx) == "RX: %d" % len(data), 60, "the counter at %d" % len(data))
            step("  taken in %.1f s" % (time.monotonic() - began))
            assert len(window.text(window.text_boxes()[0])) <= 4096

            step("the entry again stops the log")
            choose_from_window_menu(session, window, "Log to File...")
            wait_until(lambda: "logging" not in subprocess.run(
                ["xdotool", "getwindowname", session.x11_window()], capture_output=True, text=True).stdout, 5,
                "the title to drop the log")
            with open(path, "rb") as f:
                logged = f.read()
            assert logged == data, "the log holds %d bytes of %d%s" % (
                len(logged), len(data), "" if len(logged) != len(data) else ", not the same")
            assert session.close_with_close_box() == 0
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    run_test(test, limit=150)
