#!/usr/bin/python3
"""How the window fares while its pane takes each hostile page of the
end-to-end test (tests/e2e/hostile_page_test.py), against a normal page:

- the longest answer: the accessibility bus asks the window where its Hide
  box stands every 20 ms for the first 4 s after start (a page is fetched,
  prepared and laid out within that), and the slowest answer is kept;
- peak memory: the program's peak resident set (VmHWM) then, and how far it
  stands above the normal page's;
- the page: what the pane shows after that, and when it first showed it.

   tests/e2e/with_xvfb.sh tests/e2e/with_atspi.sh bench/hostile_page_bench.py \\
       build/app/vantrel build/tests/e2e/x11_close_window [CASE...]"""

import contextlib
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from hostile_page_test import CASES, HostileServer, answer_time, peak_memory_mb  # noqa: E402
from remote_pane_test import start, title  # noqa: E402

WATCH = 4.0
EVERY = 0.02


def measure(program, closer, server, name):
    with contextlib.ExitStack() as sessions:
        began = time.monotonic()
        session, window = start(sessions, program, closer, server.url(name))
        hide = window.control("check box", "Hide")
        slowest = 0.0
        while time.monotonic() - began < WATCH:
            slowest = max(slowest, answer_time(hide))
            time.sleep(EVERY)
        shown = title(window)
        peak = peak_memory_mb(session.process.pid)
        session.close_with_close_box()
        return slowest, peak, shown


def main():
    program, closer = sys.argv[1], sys.argv[2]
    names = sys.argv[3:] or list(CASES)
    server = HostileServer()
    try:
        _, normal, _ = measure(program, closer, server, "normal")
        print("%-18s %12s %10s %8s  %s" % ("page", "longest ms", "peak MB", "above", "shown"))
        for name in names:
            slowest, peak, shown = measure(program, closer, server, name)
            print("%-18s %12.0f %10.0f %8.0f  %s" % (name, slowest * 1000, peak, peak - normal, shown), flush=True)
    finally:
        server.httpd.shutdown()


if __name__ == "__main__":
    main()
