"""One run of the real program for an end-to-end test: a copy of the binary
in a scratch folder (it keeps vantrel.ini beside itself), the settings file
written beforehand and read afterwards, the process started, closed with its
close box and waited for.

    with VantrelSession(program, closer) as session:
        window = session.start()
        ...

Leaving the block stops a program still running and removes the folder; on
an exception it prints the program's output first, otherwise it fails on any
toolkit assertion the program reported."""

import contextlib
import faulthandler
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from pty_peer import PtyPeer
from vantrel_window import VantrelWindow, WindowError, open_port, wait_until

SETTINGS_NAME = "vantrel.ini"
TOOLKIT_ASSERTION = "toolkit assertion failed"


def read_ini(path):
    """{section: {key: value}} of an INI file; later duplicates win."""
    sections = {}
    current = None
    with open(path, encoding="utf-8", errors="replace") as f:
        for raw in f:
            line = raw.strip().lstrip("\ufeff")
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1].upper(), {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                current[key.strip().lower()] = value.strip()
    return sections


def decode_record(text, count):
    """The 32-bit little-endian values of a stored record: upper-case hex
    digits of its bytes followed by their 8-bit sum."""
    data = bytes.fromhex(text)
    if len(data) != count * 4 + 1:
        raise AssertionError("record %r holds %d bytes, expected %d" % (text, len(data), count * 4 + 1))
    if sum(data[:-1]) & 0xFF != data[-1]:
        raise AssertionError("record %r has a wrong checksum" % text)
    return [int.from_bytes(data[i * 4:i * 4 + 4], "little") for i in range(count)]


def copy_program(program, folder):
    """Copies the program into folder, where it keeps its settings file;
    returns the copy's path."""
    copy = os.path.join(folder, os.path.basename(program))
    shutil.copy2(program, copy)
    return copy


class VantrelSession:
    def __init__(self, program, closer):
        self.closer = closer
        self.folder = tempfile.mkdtemp(prefix="vantrel-e2e-")
        self.program = os.path.join(self.folder, os.path.basename(program))
        copy_program(program, self.folder)
        self.settings_path = os.path.join(self.folder, SETTINGS_NAME)
        self.process = None
        self._log = None

    def __enter__(self):
        return self

    def __exit__(self, exc_type, exc, traceback):
        self.stop(failed=exc_type is not None)
        return False

    def write_settings(self, text):
        with open(self.settings_path, "w", encoding="utf-8") as f:
            f.write(text)

    def settings(self):
        return read_ini(self.settings_path)

    def start(self):
        """Starts the program and returns its window once it is usable."""
        if self._log is None:
            self._log = open(os.path.join(self.folder, "program.log"), "a+b")
        self.process = subprocess.Popen([self.program], cwd=self.folder,
                                        stdout=self._log, stderr=subprocess.STDOUT)
        return VantrelWindow.attach(self.process.pid)

    def x11_window(self, timeout=10):
        def search():
            found = subprocess.run(
                ["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid), "--name", "^Vantrel$"],
                capture_output=True, text=True)
            lines = found.stdout.split()
            return lines[0] if lines else None
        return wait_until(search, timeout, "the X11 window titled Vantrel")

    def close_with_close_box(self, timeout=10):
        """Asks the window to close as the window manager's close box does,
        and returns the exit status."""
        subprocess.run([self.closer, self.x11_window()], check=True)
        try:
            status = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise WindowError("still running %d s after the close request" % timeout)
        self.process = None
        return status

    def _fail_with_log(self):
        if self._log is None:
            return
        self._log.flush()
        self._log.seek(0)
        tail = self._log.read()[-4000:].decode(errors="replace")
        if tail:
            sys.stderr.write("--- program output ---\n%s\n" % tail)

    def _report_early_end(self):
        """Says so when the program had already ended as the test failed: a
        crash then shows as one, not only as a window that went away."""
        status = self.process.poll() if self.process is not None else None
        if status is None:
            return
        how = "signal %s" % signal.Signals(-status).name if status < 0 else "status %d" % status
        sys.stderr.write("--- the program had already ended, with %s ---\n" % how)

    def output(self):
        """What the program has written to its stdout and stderr so far."""
        if self._log is None:
            return ""
        self._log.flush()
        self._log.seek(0)
        return self._log.read().decode(errors="replace")

    def _toolkit_assertions(self):
        """Lines of the program's output that report a failed assertion
        inside wx (the program writes them instead of showing a box)."""
        return [line for line in self.output().splitlines() if TOOLKIT_ASSERTION in line]

    def stop(self, failed=False):
        if failed:
            self._fail_with_log()
            self._report_early_end()
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        assertions = [] if failed else self._toolkit_assertions()
        if self._log is not None:
            self._log.close()
        shutil.rmtree(self.folder, ignore_errors=True)
        if assertions:
            raise AssertionError("the toolkit asserted: %s" % " | ".join(assertions))


_started = time.monotonic()


def step(text):
    """Logs a step of the test with the time since it began."""
    print("%6.2f s  %s" % (time.monotonic() - _started, text), flush=True)


@contextlib.contextmanager
def session_on_pty(program, closer, settings=""):
    """The program started with a pseudo-terminal pair's near end as its one
    extra port, and that port opened in its window: yields (session, window,
    peer). `settings` is more of the settings file, after the [PORTS] line."""
    peer = PtyPeer()
    try:
        with VantrelSession(program, closer) as session:
            session.write_settings("[PORTS]\nextra=%s\n%s" % (peer.slave_path, settings))
            step("starting the program")
            window = session.start()
            step("opening " + peer.port_name)
            open_port(window, peer.port_name)
            yield session, window, peer
    finally:
        peer.close()


def run_test(body, limit=50):
    """Runs body(program, closer) with the command line's paths; prints PASS
    or the failure and exits with the matching status. A test still running
    after `limit` seconds shows where it is stuck and ends."""
    if len(sys.argv) != 3:
        sys.stderr.write("usage: %s path/to/vantrel path/to/x11_close_window\n" % sys.argv[0])
        sys.exit(2)
    started = time.monotonic()
    # A hang shows where it is stuck before the test's time limit ends it.
    faulthandler.dump_traceback_later(limit, exit=True)
    try:
        body(sys.argv[1], sys.argv[2])
    except AssertionError as failure:
        sys.stderr.write("FAIL: %s\n" % failure)
        sys.exit(1)
    print("PASS in %.1f s" % (time.monotonic() - started))
