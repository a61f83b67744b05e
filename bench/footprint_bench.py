#!/usr/bin/python3
"""Start-up time and memory of a terminal program's window, measured the same
way for Vantrel and for a peer program:

- start-up: from starting the command to its first window being mapped
  (xdotool, polled every 5 ms);
- receive (--stream MB): then that many megabytes written into the line at
  full speed, timed until the program has taken the last byte;
- memory: 5 s after the start, with a port open on a pseudo-terminal, the
  proportional set size (PSS, /proc/PID/smaps_rollup) of the program and
  every process below it, and their private pages alone (USS), which do not shrink when other
  programs on the machine share the same libraries; a process that has
  loaded a GL driver is marked GL.

Vantrel is started from a copy in a fresh folder with a settings file that
lists the pseudo-terminal and names the advert address (--advert, default
empty: the built-in page at once; --serve-advert: a remote page titled
advert served on 127.0.0.1); its port is opened through the
accessibility bus. A peer command may hold {pty}, replaced by the
pseudo-terminal's path, and must open it itself.

Run it on a display with the accessibility bus (Vantrel's port opening
needs it; --no-port leaves the port closed and needs none):
   tests/e2e/with_xvfb.sh tests/e2e/with_atspi.sh bench/footprint_bench.py \\
       [--rounds N] [--advert URL] vantrel build/app/vantrel
   ... bench/footprint_bench.py [--rounds N] peer PEER-COMMAND [ARGUMENTS...]"""

import argparse
import http.server
import os
import select
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from pty_peer import PtyPeer  # noqa: E402


ADVERT = b"<html><head><title>advert</title></head><body><p>A remote advert page.</p></body></html>"


def serve_advert():
    """A web server on 127.0.0.1 answering every path with a page titled
    advert; returns its address."""
    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(ADVERT)))
            self.end_headers()
            self.wfile.write(ADVERT)

        def log_message(self, *args):
            pass
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d/adv/advert.html" % server.server_address[1]


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


def memory_kib(pid):
    """PSS and USS (its private pages alone, which other programs running
    the same libraries do not change) of one process."""
    pss = uss = 0
    try:
        with open("/proc/%d/smaps_rollup" % pid) as f:
            for line in f:
                if line.startswith("Pss:"):
                    pss = int(line.split()[1])
                elif line.startswith(("Private_Clean:", "Private_Dirty:")):
                    uss += int(line.split()[1])
    except OSError:
        pass
    return pss, uss


def maps_gl_driver(pid):
    """Whether the process has loaded a GL driver (with a software renderer,
    a whole compiler comes with it)."""
    try:
        with open("/proc/%d/maps" % pid) as f:
            return any(line.rstrip().endswith("_dri.so") for line in f)
    except OSError:
        return False


def first_window_seconds(process, started, timeout=20):
    while time.monotonic() - started < timeout:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(process.pid), "--name", "."],
                               capture_output=True, text=True)
        if found.stdout.split():
            return time.monotonic() - started
        time.sleep(0.005)
    raise RuntimeError("no window within %d s" % timeout)


def stream_seconds(peer, data, timeout=120):
    """Writes data into the line at full speed; the time until the program
    has taken the last byte (the line's buffer took it)."""
    started = time.monotonic()
    sent = 0
    view = memoryview(data)
    while sent < len(view):
        if time.monotonic() - started > timeout:
            return None
        _, ready, _ = select.select([], [peer.master], [], 0.1)
        if ready:
            try:
                sent += os.write(peer.master, view[sent:sent + 65536])
            except BlockingIOError:
                pass
    return time.monotonic() - started


def stream_data(args):
    if args.stream_kind == "text":
        line = b"The quick brown fox jumps over the lazy dog 0123456789 ABCDEFGHIJ\r\n"
        return (line * (args.stream * 1000 * 1000 // len(line) + 1))[:args.stream * 1000 * 1000]
    return bytes(range(256)) * (args.stream * 1000 * 1000 // 256) + bytes(args.stream * 1000 * 1000 % 256)


def one_round(args, peer):
    folder = tempfile.mkdtemp(prefix="vantrel-footprint-")
    try:
        if args.kind == "vantrel":
            from vantrel_session import copy_program
            program = copy_program(args.command[0], folder)
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
                from vantrel_window import VantrelWindow, open_port, wait_until
                window = VantrelWindow.attach(process.pid)
                open_port(window, peer.port_name)
                if args.stream and args.stream_kind == "text":
                    rx_ascii = window.control("check box", "ASCII Format", 0)
                    window.press(rx_ascii)
                    wait_until(lambda: window.is_checked(rx_ascii), 2, "the receive ASCII Format tick")
            time.sleep(max(0.0, started + 5 - time.monotonic()))
            processes = descendants(process.pid)
            memory = {pid: memory_kib(pid) + (maps_gl_driver(pid),) for pid in processes}
            taken = stream_seconds(peer, stream_data(args)) if args.stream else None
            return shown, memory, taken
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
    parser.add_argument("--serve-advert", action="store_true",
                        help="serve a remote page titled advert on 127.0.0.1 and name it as the advert address")
    parser.add_argument("--stream", type=int, default=0, metavar="MB",
                        help="after the memory sample, write MB megabytes into the line at full speed and time it")
    parser.add_argument("--stream-kind", choices=["text", "binary"], default="text",
                        help="text lines (Vantrel shows them as text) or every byte value (shown in hexadecimal)")
    parser.add_argument("--no-port", action="store_true",
                        help="leave Vantrel's port closed (runs without the accessibility bus)")
    parser.add_argument("kind", choices=["vantrel", "peer"])
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    if args.serve_advert:
        args.advert = serve_advert()
    peer = PtyPeer()
    for i in range(args.rounds):
        shown, memory, taken = one_round(args, peer)
        if taken is not None:
            print("round %d  %d MB of %s taken in %.2f s" % (i + 1, args.stream, args.stream_kind, taken), flush=True)
        parts = ", ".join("%.1f/%.1f%s" % (pss / 1024, uss / 1024, " GL" if gl else "")
                          for pss, uss, gl in memory.values())
        print("round %d  first window %.3f s  PSS %.1f MB  USS %.1f MB  (per process PSS/USS, GL: has a GL driver: %s)"
              % (i + 1, shown, sum(m[0] for m in memory.values()) / 1024, sum(m[1] for m in memory.values()) / 1024,
                 parts), flush=True)


if __name__ == "__main__":
    main()
