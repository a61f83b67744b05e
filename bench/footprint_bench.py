#!/usr/bin/python3
"""Start-up time and memory of a terminal program's window, measured the same
way for Vantrel and for a peer program:

- start-up: from starting the command to its first window being mapped
  (xdotool, polled every 5 ms);
- memory: 5 s after the start, with a port open on a pseudo-terminal, the
  proportional set size (PSS, /proc/PID/smaps_rollup) of the program and
  every process below it (a browser engine's helper processes included).

Vantrel is started from a copy in a fresh folder with a settings file that
lists the pseudo-terminal and names the advert address (--advert, default
empty: the built-in page at once); its port is opened through the
accessibility bus. A peer command may hold {pty}, replaced by the
pseudo-terminal's path, and must open it itself.

Run it on a display with the accessibility bus (Vantrel's port opening
needs it; --no-port leaves the port closed and needs none):
   tests/e2e/with_xvfb.sh tests/e2e/with_atspi.sh bench/footprint_bench.py \\
       [--rounds N] [--advert URL] vantrel build/app/vantrel
   ... bench/footprint_bench.py [--rounds N] peer PEER-COMMAND [ARGUMENTS...]"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from pty_peer import PtyPeer  # noqa: E402


def descendants(pid):
    found = [pid]
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/children" % (pid, task)) as f:
                for child in f.read().split():
                    found += descendants(int(child))
        except OSError:
            pass
    return found


def pss_kib(pid):
    try:
        with open("/proc/%d/smaps_rollup" % pid) as f:
            for line in f:
                if line.startswith("Pss:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def first_window_seconds(process, started, timeout=20):
    while time.monotonic() - started < timeout:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(process.pid), "--name", "."],
                               capture_output=True, text=True)
        if found.stdout.split():
            return time.monotonic() - started
        time.sleep(0.005)
    raise RuntimeError("no window within %d s" % timeout)


def one_round(args, peer):
    folder = tempfile.mkdtemp(prefix="vantrel-footprint-")
    try:
        if args.kind == "vantrel":
            program = os.path.join(folder, "vantrel")
            shutil.copy2(args.command[0], program)
            with open(os.path.join(folder, "vantrel.ini"), "w") as f:
                f.write("[PORTS]\nextra=%s\n[ADVERT]\nurl=%s\n" % (peer.slave_path, args.advert))
            command = [program]
        else:
            command = [part.replace("{pty}", peer.slave_path) for part in args.command]
        started = time.monotonic()
        process = subprocess.Popen(command, cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            shown = first_window_seconds(process, started)
            if args.kind == "vantrel" and not args.no_port:
                from vantrel_window import VantrelWindow, open_port
                open_port(VantrelWindow.attach(process.pid), peer.port_name)
            time.sleep(max(0.0, started + 5 - time.monotonic()))
            processes = descendants(process.pid)
            pss = {pid: pss_kib(pid) for pid in processes}
            return shown, pss
        finally:
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--advert", default="")
    parser.add_argument("--no-port", action="store_true",
                        help="leave Vantrel's port closed (runs without the accessibility bus)")
    parser.add_argument("kind", choices=["vantrel", "peer"])
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    peer = PtyPeer()
    for i in range(args.rounds):
        shown, pss = one_round(args, peer)
        parts = ", ".join("%d: %.1f" % (pid, kib / 1024) for pid, kib in pss.items())
        print("round %d  first window %.3f s  PSS %.1f MB  (%s)" % (i + 1, shown, sum(pss.values()) / 1024, parts),
              flush=True)


if __name__ == "__main__":
    main()
