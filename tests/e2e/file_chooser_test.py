#!/usr/bin/python3
"""End-to-end: the "..." button opens the real GTK file chooser (a real
click). A path typed into it (Ctrl+L, the path, Enter) fills the path box
with nothing else shown; Escape leaves the box as it was; two files chosen
give their folder, whose file Send then says "File loading failed.".
   file_chooser_test.py path/to/vantrel path/to/x11_close_window"""

import os
import shutil
import subprocess
import tempfile
import time

from desktop import centre, click
from pty_peer import PtyPeer
from vantrel_session import VantrelSession, run_test, step
from vantrel_window import open_port, wait_until

CHOOSER_TITLE = "Select a file"


def chooser_window(session):
    found = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(session.process.pid),
                            "--name", "^%s$" % CHOOSER_TITLE], capture_output=True, text=True)
    ids = found.stdout.split()
    return ids[0] if ids else None


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "60"] + list(names), check=True)


def open_chooser(session, window):
    click(*centre(window.control("push button", "...")))
    chooser = wait_until(lambda: chooser_window(session), 10, "the file chooser")
    subprocess.run(["xdotool", "windowfocus", "--sync", chooser], check=True)
    time.sleep(0.5)  # the chooser fills its list once shown
    return chooser


def type_location(text):
    keys("ctrl+l")
    time.sleep(0.3)
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)
    time.sleep(0.3)  # the location entry completes as it is typed


def wait_chooser_gone(session):
    wait_until(lambda: chooser_window(session) is None, 10, "the file chooser to close")


def expect_path_box(window, box, expected, when):
    wait_until(lambda: window.text(box) == expected or window.message_boxes(), 5,
               "the path box to read %r %s" % (expected, when))
    assert not window.message_boxes(), "%s the window showed: %s" % (when, window.message_boxes())
    assert window.text(box) == expected, "%s the path box reads %r" % (when, window.text(box))


def test(program, closer):
    folder = tempfile.mkdtemp(prefix="vantrel-chooser-")
    files = [os.path.join(folder, name) for name in ("first.bin", "second.bin")]
    for path in files:
        with open(path, "wb") as f:
            f.write(b"\x01\x02\x03")
    peer = PtyPeer()
    try:
        with VantrelSession(program, closer) as session:
            session.write_settings("[PORTS]\nextra=%s\n" % peer.slave_path)
            window = session.start()
            box = window.control("text", "File to send")

            step("one file typed into the chooser")
            open_chooser(session, window)
            type_location(files[1])
            keys("Return")
            wait_chooser_gone(session)
            expect_path_box(window, box, files[1], "after choosing one file:")

            step("Escape leaves the path box as it was")
            open_chooser(session, window)
            type_location(files[0])
            keys("Escape")  # closes the location's completion first, if any
            if chooser_window(session):
                keys("Escape")
            wait_chooser_gone(session)
            expect_path_box(window, box, files[1], "after Escape:")

            step("two files chosen give their folder")
            open_chooser(session, window)
            type_location(folder + "/")
            keys("Return")  # into the folder; the focus moves to its file list
            time.sleep(0.5)
            keys("ctrl+a", "Return")
            wait_chooser_gone(session)
            expect_path_box(window, box, folder, "after choosing two files:")

            step("file Send of the folder")
            open_port(window, peer.port_name)
            click(*centre(window.control("push button", "Send", 1)))  # opens a box: a real click
            wait_until(lambda: window.message_boxes(), 5, "a message box")
            assert any("File loading failed." in text for text in window.message_boxes()), \
                "boxes: %s" % window.message_boxes()
            keys("Return")
            wait_until(lambda: not window.message_boxes(), 5, "the message box to close")
            assert session.close_with_close_box() == 0
    finally:
        peer.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    run_test(test)
