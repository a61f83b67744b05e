"""The far side of a serial line for end-to-end tests: a pseudo-terminal
pair whose master this process keeps. The slave's path is what the program
under test opens; everything it writes is collected by a reader thread, and
bytes can be written towards it."""

import os
import select
import threading
import time
import tty


class PtyPeer:
    def __init__(self):
        self.master, self._slave = os.openpty()
        # Raw from the start, so nothing is echoed or translated before the
        # program sets the line up itself.
        tty.setraw(self._slave)
        self.slave_path = os.ttyname(self._slave)
        os.set_blocking(self.master, False)
        self._received = bytearray()
        self._lock = threading.Lock()
        self._stop = threading.Event()
        self._reader = threading.Thread(target=self._read_loop, daemon=True)
        self._reader.start()

    @property
    def port_name(self):
        """The name the program's port list shows: the path without /dev/."""
        return self.slave_path[len("/dev/"):]

    def _read_loop(self):
        while not self._stop.is_set():
            ready, _, _ = select.select([self.master], [], [], 0.05)
            if not ready:
                continue
            try:
                data = os.read(self.master, 65536)
            except BlockingIOError:
                continue
            except OSError:
                # EIO while no one has the slave open: nothing to read yet.
                time.sleep(0.02)
                continue
            with self._lock:
                self._received += data

    def received(self):
        with self._lock:
            return bytes(self._received)

    def wait_received(self, predicate, timeout):
        """Waits until predicate(bytes received so far) holds; returns the
        bytes received, whether or not it came to hold."""
        deadline = time.monotonic() + timeout
        while True:
            data = self.received()
            if predicate(data) or time.monotonic() >= deadline:
                return data
            time.sleep(0.02)

    def write_all(self, data, timeout):
        """Writes every byte towards the program, waiting while the line's
        buffer is full; returns how many bytes went out before the timeout."""
        view = memoryview(data)
        sent = 0
        deadline = time.monotonic() + timeout
        while sent < len(view):
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                break
            _, ready, _ = select.select([], [self.master], [], min(remaining, 0.1))
            if not ready:
                continue
            try:
                sent += os.write(self.master, view[sent:sent + 4096])
            except BlockingIOError:
                continue
        return sent

    def close(self):
        self._stop.set()
        self._reader.join(timeout=1)
        os.close(self.master)
        os.close(self._slave)
