"""The user's desktop around the window, for end-to-end tests: real mouse
clicks and the screen's pixels through the X server, and a stand-in
xdg-open that records the addresses it is given and the toolkit's
variables it inherits."""

import os
import stat
import subprocess
import tempfile

from gi.repository import Atspi

FAKE_OPENER = """#!/bin/sh
printf '%s\\n' "$1" >> "$VANTREL_E2E_OPENED"
env | grep -E '^GDK_GL=' >> "$VANTREL_E2E_OPENED.environment" || true
"""


def install_fake_opener():
    folder = tempfile.mkdtemp(prefix="vantrel-opener-")
    opener = os.path.join(folder, "xdg-open")
    with open(opener, "w") as f:
        f.write(FAKE_OPENER)
    os.chmod(opener, stat.S_IRWXU)
    record = os.path.join(folder, "opened.txt")
    os.environ["PATH"] = folder + os.pathsep + os.environ.get("PATH", "")
    os.environ["VANTREL_E2E_OPENED"] = record
    os.environ.pop("BROWSER", None)
    return record


def opened(record):
    try:
        with open(record) as f:
            return f.read().splitlines()
    except FileNotFoundError:
        return []


def inherited_toolkit_variables(record):
    """The toolkit's variables the stand-in xdg-open was given that this
    test's own environment does not hold (the program sets them only while
    the toolkit starts)."""
    try:
        with open(record + ".environment") as f:
            given = set(f.read().splitlines())
    except FileNotFoundError:
        return []
    return sorted(v for v in given if os.environ.get(v.split("=", 1)[0]) != v.split("=", 1)[1])


def screen_colours(x, y, width, height):
    """The set of (r, g, b) colours on the screen in that rectangle."""
    ppm = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, x, y),
                          "+repage", "-depth", "8", "ppm:-"], capture_output=True, check=True).stdout
    # P6 header: magic, width, height, maximum, each followed by one blank.
    fields = ppm.split(maxsplit=4)
    pixels = fields[4]
    return {tuple(pixels[i:i + 3]) for i in range(0, len(pixels) - 2, 3)}


def click(x, y, button=1):
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", str(button)], check=True)


def park_mouse():
    subprocess.run(["xdotool", "mousemove", "0", "0"], check=True)


def centre(control):
    box = control.get_extents(Atspi.CoordType.SCREEN)
    return box.x + box.width // 2, box.y + box.height // 2
