#!/usr/bin/python3
"""vantrel.exe under Wine with a pseudo-terminal as COM5, driven from outside
by vantrel_driver.exe as tests/e2e_windows/port_session.sh drives it:

- XMODEM: 64 KiB in 128-byte blocks with CRC from the window to lrzsz's
  `rx -X -c` behind the pseudo-terminal, timed from the moment rx starts
  asking until it has the whole file (checked byte for byte); best of 3.
- Receiving: 2 000 000 bytes written by the far end into the pseudo-terminal
  at full speed, and once more paced as a line at BAUD (10 bits a byte) when
  given; timed until the RX counter reads "RX: 2000000", which must be its
  exact text at the end (a lost or doubled byte shows there).

Needs a display (run it under tests/e2e/with_xvfb.sh), wine, socat, lrzsz.

  tests/e2e/with_xvfb.sh bench/windows_port_bench.py build-windows [BAUD]

WINE: the wine program (default: wine). WINEPREFIX: a prefix to use; by
default a fresh one in a temporary folder."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

XMODEM_SIZE = 64 * 1024
XMODEM_RUNS = 3
RECEIVE_SIZE = 2000000
RX_COUNT, SEND_FILE, FILE_PATH, PROTOCOL, OPEN, CLOSE = 1021, 1026, 1029, 1012, 1003, 1009

WINE = os.environ.get("WINE", "wine")


def wait_until(condition, seconds, what):
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.005)


class Bench:
    def __init__(self, build, work):
        self.work = work
        self.app = os.path.join(work, "app")
        os.mkdir(self.app)
        for exe in ("app/vantrel.exe", "tests/e2e_windows/vantrel_driver.exe"):
            shutil.copy(os.path.join(build, exe), self.app)
        self.prefix = os.environ["WINEPREFIX"]
        self.window = None
        self.link = None  # the socat that stands behind COM5

    def run_driver(self, *args):
        """The driver's exit status and output. Its output goes through a
        file: a pipe would stay open as long as any Wine process started
        meanwhile (the wineserver) inherited it."""
        with tempfile.TemporaryFile("w+") as out:
            code = subprocess.run([WINE, "vantrel_driver.exe"] + [str(a) for a in args], cwd=self.app,
                                  stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL).returncode
            out.seek(0)
            return code, out.read().strip()

    def driver(self, *args, check=True):
        code, text = self.run_driver(*args)
        if check and code != 0:
            raise AssertionError("driver %s: %s" % (" ".join(map(str, args)), text))
        return text if code == 0 else ""

    def start(self):
        with open(os.path.join(self.app, "vantrel.ini"), "w", newline="\r\n") as f:
            f.write("[PORTS]\nextra=COM5\n[ADVERT]\nurl=\n")
        self.window = subprocess.Popen([WINE, "vantrel.exe"], cwd=self.app, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        self.driver("wait-window", 60000)
        self.driver("choose", 1023, "0-byte")

    def link_com5(self, far_end):
        """socat between a new pseudo-terminal, linked as COM5, and far_end."""
        near = os.path.join(self.work, "near")
        if os.path.lexists(near):
            os.remove(near)
        self.link = subprocess.Popen(["socat", "PTY,raw,echo=0,link=" + near, far_end],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=self.work)
        wait_until(lambda: os.path.exists(near), 5, "socat's pseudo-terminal")
        com5 = os.path.join(self.prefix, "dosdevices", "com5")
        if os.path.lexists(com5):
            os.remove(com5)
        os.symlink(os.path.realpath(near), com5)

    def unlink_com5(self):
        if self.link:
            self.link.kill()
            self.link.wait()
            self.link = None

    def open_port(self):
        if self.run_driver("choose", 1002, "COM5")[0] != 0:
            self.driver("choose", 1002, "com5")
        self.driver("choose", 1005, "115200")
        self.driver("click", OPEN)
        time.sleep(0.5)
        box = self.driver("box", check=False)
        if box:
            raise AssertionError("opening COM5 said: " + box)

    def close_port(self):
        self.driver("click", CLOSE)
        time.sleep(0.3)

    def xmodem_once(self, data):
        target = os.path.join(self.work, "got.bin")
        go, end = target + ".go", target + ".end"
        for name in (target, go, end):
            if os.path.exists(name):
                os.remove(name)
        # rx writes only beside itself: the file's name, in the work folder.
        command = "while [ ! -e %s ]; do sleep 0.005; done; rx -q -X -c %s; touch %s" % (
            go, os.path.basename(target), end)
        self.link_com5("SYSTEM:" + command.replace(":", "\\:"))
        try:
            self.open_port()
            self.driver("click", SEND_FILE)
            started = time.monotonic()
            open(go, "w").close()
            wait_until(lambda: os.path.exists(end), 120, "rx to finish")
            seconds = time.monotonic() - started
        finally:
            self.unlink_com5()
        with open(target, "rb") as f:
            got = f.read()
        padding = -len(data) % 128
        if got not in (data + b"\x1a" * padding, data + b"\xff" * padding):
            raise AssertionError("rx got %d bytes, not the file's %d" % (len(got), len(data)))
        self.driver("wait-text", RX_COUNT, "RX:", 5000)
        time.sleep(0.5)  # the window ends the transfer at its next tick
        self.close_port()
        return seconds

    def receive(self, size, baud=None):
        far = os.path.join(self.work, "far")
        self.link_com5("PTY,raw,echo=0,link=" + far)
        try:
            wait_until(lambda: os.path.exists(far), 5, "the far end")
            self.open_port()
            self.driver("click", 1024)  # the counters from zero
            self.driver("wait-text", RX_COUNT, "RX: 0", 5000)
            block = bytes(range(256)) * 256
            # The driver waits already, so its own start is not timed.
            waiter = subprocess.Popen([WINE, "vantrel_driver.exe", "wait-text", str(RX_COUNT), "RX: %d" % size,
                                       "120000"], cwd=self.app, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(3)
            with open(far, "wb", buffering=0) as line:
                started = time.monotonic()
                sent = 0
                piece = len(block) if baud is None else 1024
                while sent < size:
                    if baud is not None:  # no faster than the line would carry it
                        ahead = started + sent * 10 / baud - time.monotonic()
                        if ahead > 0:
                            time.sleep(ahead)
                    sent += line.write(block[:min(size - sent, piece)])
                if waiter.wait(150) != 0:
                    raise AssertionError("the RX counter never read %d: '%s'" % (size, self.driver("text", RX_COUNT)))
                seconds = time.monotonic() - started
            time.sleep(1)  # nothing more may come
            count = self.driver("text", RX_COUNT)
            self.close_port()
        finally:
            self.unlink_com5()
        return seconds, count

    def stop(self):
        self.unlink_com5()
        if self.window:
            self.driver("close", check=False)
            try:
                self.window.wait(10)
            except subprocess.TimeoutExpired:
                self.window.kill()


def main(build, baud=None):
    build = os.path.abspath(build)
    work = tempfile.mkdtemp(prefix="vantrel-windows-bench-")
    os.environ.setdefault("WINEDEBUG", "-all")
    os.environ["WINEDLLOVERRIDES"] = "mscoree,mshtml="  # no installer boxes
    if "WINEPREFIX" not in os.environ:
        os.environ["WINEPREFIX"] = os.path.join(work, "prefix")
        subprocess.run(["wineboot", "-i"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    bench = Bench(build, work)
    try:
        data = bytes((i * 7 + i // 251) % 256 for i in range(XMODEM_SIZE))
        path = os.path.join(work, "image.bin")
        with open(path, "wb") as f:
            f.write(data)
        bench.start()
        bench.driver("set-text", FILE_PATH, "Z:" + path.replace("/", "\\"))
        bench.driver("choose", PROTOCOL, "Xmodem")
        times = [bench.xmodem_once(data) for _ in range(XMODEM_RUNS)]
        print("XMODEM 64 KiB, 128-byte blocks, CRC: best %.2f s (runs: %s)"
              % (min(times), ", ".join("%.2f" % t for t in times)))
        for pace in [None] + ([baud] if baud else []):
            seconds, count = bench.receive(RECEIVE_SIZE, pace)
            print("Receiving %d bytes %s: %.2f s, counter '%s'"
                  % (RECEIVE_SIZE, "at full speed" if pace is None else "at %d baud" % pace, seconds, count))
            if count != "RX: %d" % RECEIVE_SIZE:
                raise AssertionError("the RX counter reads '%s'" % count)
    finally:
        bench.stop()
        subprocess.run(["wineserver", "-k"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) == 3 else None)
