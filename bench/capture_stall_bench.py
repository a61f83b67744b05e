#!/usr/bin/python3
"""How the real window answers while a pseudo-terminal streams at full speed
into it, without a log, with the raw log and with the text log:

- taken: from the first byte written until the received counter shows the
  last one;
- the longest answer: the accessibility bus asks the window where its Hide
  box stands every 20 ms while the stream runs, and the slowest answer is
  kept (a window that serves the port's messages back to back, without
  going back to its event loop, answers late).

   tests/e2e/with_xvfb.sh tests/e2e/with_atspi.sh bench/capture_stall_bench.py \\
       build/app/vantrel build/tests/e2e/x11_close_window [megabytes]   (default 100)"""

import os
import shutil
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from capture_test import start_log  # noqa: E402
from hostile_page_test import answer_time  # noqa: E402
from vantrel_session import session_on_pty  # noqa: E402

EVERY = 0.02


def measure(program, closer, log, size):
    folder = tempfile.mkdtemp(prefix="vantrel-stall-")
    try:
        with session_on_pty(program, closer, "[LOG]\nfolder=%s\nformat=%s\n" % (folder, log or "raw")) \
                as (session, window, peer):
            if log:
                start_log(session, window)
            hide = window.control("check box", "Hide")
            rx = window.label_starting("RX:")
            data = bytes((i * 7 + i // 251) % 256 for i in range(1 << 16)) * (size // (1 << 16))
            written = []
            writer = threading.Thread(target=lambda: written.append(peer.write_all(data, 300)))
            began = time.monotonic()
            writer.start()
            slowest = 0.0
            while window.text(rx) != "RX: %d" % len(data) and time.monotonic() - began < 300:
                slowest = max(slowest, answer_time(hide))
                time.sleep(EVERY)
            taken = time.monotonic() - began
            writer.join()
            session.close_with_close_box()
            return taken, slowest, written[0] == len(data)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    program, closer = sys.argv[1], sys.argv[2]
    size = int(sys.argv[3]) * 1000 * 1000 if len(sys.argv) > 3 else 100 * 1000 * 1000
    print("%-10s %8s %12s" % ("log", "taken s", "longest ms"))
    for log in (None, "raw", "text"):
        taken, slowest, whole = measure(program, closer, log, size)
        print("%-10s %8.2f %12.0f%s" % (log or "none", taken, slowest * 1000, "" if whole else "  NOT ALL TAKEN"),
              flush=True)


if __name__ == "__main__":
    main()
