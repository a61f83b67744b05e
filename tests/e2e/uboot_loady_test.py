#!/usr/bin/python3
"""End-to-end, against the boot loader users run: U-Boot (Debian's
u-boot-qemu) in QEMU's ARM virt machine, its console a pseudo-terminal.
The real window opens that terminal, shows the prompt, types "loady" and
sends a file of 1234 bytes (no multiple of 128) with Ymodem; U-Boot must
report exactly that size, and "crc32" over what it stored must match the
file's own.
   uboot_loady_test.py path/to/vantrel path/to/x11_close_window"""

import os
import re
import shutil
import subprocess
import tempfile
import zlib

from file_send_test import send_from_window
from vantrel_session import VantrelSession, run_test, step
from vantrel_window import open_port, wait_until

UBOOT = "/usr/lib/u-boot/qemu_arm/u-boot.bin"
SIZE = 1234
LOAD_ADDRESS = 0x40200000


def hex_frame(text):
    """The transmit box's hexadecimal form of a command and its CR."""
    return " ".join("%02X" % b for b in text.encode() + b"\r")


class Board:
    """qemu-system-arm running U-Boot with its console on a pseudo-terminal."""

    def __init__(self, folder):
        self.log = open(os.path.join(folder, "qemu.log"), "w+")
        self.process = subprocess.Popen(
            ["qemu-system-arm", "-M", "virt", "-m", "256", "-nographic", "-nodefaults", "-monitor", "none",
             "-bios", UBOOT, "-serial", "pty"], stdout=self.log, stderr=subprocess.STDOUT)
        self.pty = wait_until(self._pty, 10, "QEMU's pseudo-terminal")

    def _pty(self):
        self.log.seek(0)
        found = re.search(r"char device redirected to (/dev/pts/\d+)", self.log.read())
        return found.group(1) if found else None

    def stop(self):
        self.process.kill()
        self.process.wait()
        self.log.close()


def test(program, closer):
    if not (shutil.which("qemu-system-arm") and os.path.exists(UBOOT)):
        raise AssertionError("qemu-system-arm and u-boot-qemu are needed (tools/deps.sh test)")
    folder = tempfile.mkdtemp(prefix="vantrel-uboot-")
    board = Board(folder)
    try:
        data = bytes((i * 13 + i // 7) % 256 for i in range(SIZE))
        path = os.path.join(folder, "image.bin")
        with open(path, "wb") as f:
            f.write(data)
        with VantrelSession(program, closer) as session:
            session.write_settings("[PORTS]\nextra=%s\n" % board.pty)
            window = session.start()
            open_port(window, board.pty[len("/dev/"):])
            rx_box = window.text_boxes()[0]
            rx_ascii = window.control("check box", "ASCII Format", 0)
            window.press(rx_ascii)
            wait_until(lambda: window.is_checked(rx_ascii), 2, "the receive ASCII Format tick")

            def console():
                return window.text(rx_box)

            step("waiting for U-Boot's prompt")
            wait_until(lambda: "=> " in console(), 60, "U-Boot's prompt (the box shows %r)" % console()[-200:])
            window.press(window.control("push button", "Clear", 0))
            step("loady, then the file with Ymodem")
            window.set_text(window.text_boxes()[1], hex_frame("loady 0x%x" % LOAD_ADDRESS))
            window.press(window.control("push button", "Send", 0))
            wait_until(lambda: "Ready for binary (ymodem)" in console(), 10,
                       "loady to get ready (the box shows %r)" % console()[-200:])
            send_from_window(window, path, "Ymodem")
            wait_until(lambda: "Total Size" in console() and "=> " in console().split("Total Size")[-1], 60,
                       "U-Boot to report the size (the box shows %r)" % console()[-300:])
            total = re.search(r"Total Size\s*=\s*0x([0-9a-fA-F]+)\s*=\s*(\d+) Bytes", console())
            assert total and int(total.group(2)) == SIZE, "U-Boot reported %r" % console()[-300:]
            assert not window.message_boxes(), "boxes: %s" % window.message_boxes()

            step("crc32 of what U-Boot stored")
            window.press(window.control("push button", "Clear", 0))
            window.set_text(window.text_boxes()[1], hex_frame("crc32 0x%x 0x%x" % (LOAD_ADDRESS, SIZE)))
            window.press(window.control("push button", "Send", 0))
            expected = "%08x" % zlib.crc32(data)
            wait_until(lambda: "==> " in console() and "=> " in console().split("==> ")[-1], 10,
                       "crc32's answer (the box shows %r)" % console()[-200:])
            assert expected in console(), "crc32 %s expected, the box shows %r" % (expected, console()[-200:])
            assert session.close_with_close_box() == 0
    finally:
        board.stop()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    run_test(test, limit=150)
