#!/usr/bin/python3
"""End-to-end: files sent from the real window reach Debian's lrzsz `rx`
and `rb` whole, through a pseudo-terminal that socat bridges to them:
XMODEM with the checksum (rx -X), with CRC-16 (rx -X -c) and 1K XMODEM,
each file compared byte for byte with the 0xFF fill of its last block;
YMODEM to rb, which must store the file under its own name with exactly
its bytes (a last piece of up to 128 bytes in a short block, and one that
fills most of a 1024-byte block); and a raw send of a file with CR LF and
0x1A bytes arrives unchanged. VANTREL_E2E_FULL=1 runs the whole matrix of
1, 128, 1000 and 70000 bytes in all four modes.
   file_send_test.py path/to/vantrel path/to/x11_close_window"""

import os
import shutil
import subprocess
import tempfile
import time

from pty_peer import PtyPeer
from vantrel_session import VantrelSession, run_test, step
from vantrel_window import open_port, wait_until

# (protocol row, receiving command, block size; None: the exact size)
MODES = {
    "checksum": ("Xmodem", ["rx", "-X"], 128),
    "crc": ("Xmodem", ["rx", "-X", "-c"], 128),
    "1k": ("1K Xmodem", ["rx", "-X", "-c"], 1024),
    "ymodem": ("Ymodem", ["rb"], None),
}
QUICK = [("checksum", 1000), ("crc", 128), ("1k", 3000), ("ymodem", 1100), ("ymodem", 3000)]
FULL = [(mode, size) for mode in MODES for size in (1, 128, 1000, 70000)]


def content(size, seed):
    # Every byte value, the protocol's own bytes among them.
    return bytes((i * 7 + seed + i // 251) % 256 for i in range(size))


class RxBridge:
    """rx (or rb) behind a pseudo-terminal that socat links to `port`,
    talking to socat over pipes. (rx on a terminal of its own flushes its
    output when it ends, which on a pseudo-terminal may drop its last ACK.)"""

    def __init__(self, port, receiver, target):
        # rx asks for the file once at its start and then only every ten
        # seconds: it starts when go() says the window is waiting. It writes
        # only into its working folder; rb names the file as block 0 says.
        self.go_file = target + ".go"
        arguments = receiver[1:] + ([] if receiver[0] == "rb" else [os.path.basename(target)])
        command = "while [ ! -e %s ]; do sleep 0.02; done; exec %s -q %s" % (
            self.go_file, receiver[0], " ".join(arguments))
        self.process = subprocess.Popen(
            ["socat", "PTY,raw,echo=0,link=" + port, "SYSTEM:%s" % command.replace(":", "\\:")],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=os.path.dirname(target))
        wait_until(lambda: os.path.exists(port), 5, "socat's pseudo-terminal")

    def go(self):
        open(self.go_file, "w").close()

    def wait(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise AssertionError("rx did not finish within %d s" % timeout)


def send_from_window(window, path, protocol):
    window.set_text(window.control("text", "File to send"), path)
    window.choose(window.control("combo box", "Protocols"), protocol)
    window.press(window.control("push button", "Send", 1))


def test(program, closer):
    folder = tempfile.mkdtemp(prefix="vantrel-file-send-")
    port = os.path.join(folder, "ttyRx")
    peer = PtyPeer()
    try:
        with VantrelSession(program, closer) as session:
            session.write_settings("[PORTS]\nextra=%s;%s\n" % (port, peer.slave_path))
            window = None
            cases = FULL if os.environ.get("VANTREL_E2E_FULL") else QUICK
            for number, (mode, size) in enumerate(cases):
                protocol, receiver, block = MODES[mode]
                data = content(size, number)
                path = os.path.join(folder, "image-%d.bin" % number)
                with open(path, "wb") as f:
                    f.write(data)
                # rb stores the file under the name block 0 gives, in a folder of its own.
                received = os.path.join(folder, "rb-%d" % number)
                os.mkdir(received)
                target = (os.path.join(received, os.path.basename(path)) if block is None
                          else os.path.join(folder, "got-%d.bin" % number))
                step("sending %d bytes, %s" % (size, mode))
                rx = RxBridge(port, receiver, target)
                if window is None:  # the port list is made at start-up
                    window = session.start()
                    send_button = window.control("push button", "Send", 1)
                    close_button = window.control("push button", "Close")
                    rx_box = window.text_boxes()[0]
                open_port(window, port)  # each rx comes with a new terminal
                started = time.monotonic()
                send_from_window(window, path, protocol)
                rx.go()
                status = rx.wait(60)
                with open(target, "rb") as f:
                    got = f.read()
                padded = data if block is None else data + b"\xff" * (-size % block)
                assert status == 0 and got == padded, "rx status %d, got %d bytes, %d expected" % (
                    status, len(got), len(padded))
                try:
                    wait_until(lambda: window.is_enabled(send_button), 5, "the send controls to come back")
                except Exception:
                    step("the window received: %r" % window.text(rx_box)[-120:])
                    raise
                assert not window.message_boxes(), "boxes: %s" % window.message_boxes()
                step("  whole in %.2f s" % (time.monotonic() - started))
                window.press(close_button)

            step("raw send of CR LF and 0x1A bytes")
            raw = b"boot\r\n\x1a\x00\r\x0a\x1a\xffend\n"
            path = os.path.join(folder, "raw.bin")
            with open(path, "wb") as f:
                f.write(raw)
            open_port(window, peer.port_name)
            window.press(window.control("push button", "Clear", 2))  # the counters
            send_from_window(window, path, "None")
            got = peer.wait_received(lambda data: len(data) >= len(raw), 5)
            assert got == raw, "the far end got %r" % got
            tx = window.label_starting("TX:")
            wait_until(lambda: window.text(tx) == "TX: %d" % len(raw), 3, "the sent counter to read TX: %d" % len(raw))
            assert session.close_with_close_box() == 0
    finally:
        peer.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    run_test(test)
