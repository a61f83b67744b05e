#!/usr/bin/python3
"""End-to-end, against a hostile web server on 127.0.0.1: pages built to
crash, freeze or exhaust a light HTML view (nesting thousands deep, tens of
thousands of links, spans of millions of cells, pictures of hundreds of
millions of pixels, SVG filters that take a minute to draw, a PNG bomb that
calls itself SVG, a reference past U+10FFFF). For each, the real program
must stay alive, keep answering (the accessibility bus is asked for the
Hide box's place throughout, and a real click on Hide is answered), stay
within 150 MB of peak memory above a normal page, and end on the right page:
the built-in one where the page cannot be drawn safely, the page itself
where only its pictures or numbers were at fault.
   hostile_page_test.py path/to/vantrel path/to/x11_close_window"""

import contextlib
import functools
import http.server
import signal
import struct
import subprocess
import threading
import time
import zlib

from gi.repository import Atspi, GLib

from desktop import centre, click
from remote_pane_test import png, start, title
from vantrel_session import run_test, step
from vantrel_window import wait_until

ANSWER_WITHIN = 2.0        # seconds: a window that does not answer this fast was frozen
MEMORY_ABOVE_NORMAL = 150  # MB of peak resident memory above a normal page


def page(body, head=""):
    return ("<html><head><title>ADVERT</title>%s</head><body>%s</body></html>" % (head, body)).encode()


def pictures(count, attributes=""):
    return page("".join('<img src="pic/%d" %s>' % (i, attributes) for i in range(count)))


@functools.lru_cache(maxsize=None)
def big_png(width, height):
    """A real PNG of one colour, compressed row by row (zeros squeeze a
    thousandfold), cached: the fault it provokes is its decoding."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    packer = zlib.compressobj(9)
    row = b"\0" * (1 + width * 3)
    data = b"".join(packer.compress(row) for _ in range(height)) + packer.flush()
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", data) + chunk(b"IEND", b""))


@functools.lru_cache(maxsize=None)
def declared_png(width, height):
    """A PNG header declaring that size, with a scrap of data."""
    small = png(1, 1, (0, 0, 0))
    return small[:16] + struct.pack(">II", width, height) + small[24:]


@functools.lru_cache(maxsize=None)
def declared_jpeg(width, height, progressive=False):
    """A JPEG frame header of that size and a short scan: a decoder that
    believes it fills the whole frame."""
    sof = 0xC2 if progressive else 0xC0
    return (b"\xff\xd8" + b"\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00" +
            b"\xff\xdb\x00\x43\x00" + bytes([1] * 64) +
            bytes([0xFF, sof]) + struct.pack(">HBHHB", 11, 8, height, width, 1) + b"\x01\x11\x00" +
            b"\xff\xc4\x00\x14\x00\x01" + b"\x00" * 15 + b"\x00" +
            b"\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00" + b"\x00" * 200 + b"\xff\xd9")


@functools.lru_cache(maxsize=None)
def declared_gif(width, height):
    return (b"GIF89a" + struct.pack("<HH", width, height) + b"\x80\x00\x00" + b"\x00" * 6 +
            b"\x2c" + struct.pack("<HHHH", 0, 0, width, height) + b"\x00\x02\x02\x4c\x01\x00\x3b")


@functools.lru_cache(maxsize=None)
def svg(width, height, inner='<rect width="100%" height="100%" fill="blue"/>'):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d">%s</svg>'
            % (width, height, inner)).encode()


TURBULENCE = ('<filter id="f"><feTurbulence baseFrequency="0.01" numOctaves="10"/>'
              '<feGaussianBlur stdDeviation="40"/></filter>'
              '<rect width="100%" height="100%" filter="url(#f)"/>')

# name: (page, its pictures' bytes (every picture the same), their type, the title the pane ends on)
CASES = {
    "normal": (pictures(1, "width=40 height=40"), lambda: png(40, 40, (255, 0, 0)), "image/png", "ADVERT"),
    "tables": (page("<table><tr><td>" * 10000 + "x"), None, None, "advert"),
    "lists": (page("<ul><li>" * 10000 + "x"), None, None, "advert"),
    "fonts": (page("<font size=2><b><div><blockquote>" * 2500 + "x"), None, None, "advert"),
    "unclosed-tables": (page("<table>" * 10000), None, None, "advert"),
    "unclosed-links": (page("<a href=a>a" * 83000), None, None, "advert"),
    "closed-links": (page("<a href=a>a</a>" * 58811), None, None, "advert"),
    "spans": (page("<table><tr><td colspan=100000 rowspan=100000>x</td></tr></table>"), None, None, "ADVERT"),
    "span-max": (page("<table><tr><td colspan=2147483647>x</td><td colspan=-1>y</td></tr></table>"),
                 None, None, "ADVERT"),
    "entity": (page("&#x110000; &#0; &#xD800; caf&#233;"), None, None, "ADVERT"),
    "png-26000": (pictures(1), lambda: declared_png(26000, 26000), "image/png", "ADVERT"),
    "png-16384": (pictures(1), lambda: big_png(16384, 16384), "image/png", "ADVERT"),
    "jpeg-16384": (pictures(1), lambda: declared_jpeg(16384, 16384), "image/jpeg", "ADVERT"),
    "gif-16384": (pictures(1), lambda: declared_gif(16384, 16384), "image/gif", "ADVERT"),
    "jpeg-progressive": (pictures(1), lambda: declared_jpeg(65500, 65500, True), "image/jpeg", "ADVERT"),
    "32-jpegs": (pictures(32), lambda: declared_jpeg(16384, 16384), "image/jpeg", "ADVERT"),
    "32-pngs-2048": (pictures(32, "width=2048 height=2048"), lambda: big_png(2048, 2048), "image/png", "ADVERT"),
    "32-svgs": (pictures(32, "width=4096 height=4096"), lambda: svg(4096, 4096), "image/svg+xml", "ADVERT"),
    "svg-filter": (pictures(1, "width=4096 height=4096"), lambda: svg(4096, 4096, TURBULENCE), "image/svg+xml",
                   "ADVERT"),
    "png-as-svg": (pictures(1), lambda: big_png(16384, 16384), "image/svg+xml", "ADVERT"),
    "broken-svg": (pictures(1), lambda: b'<svg xmlns="http://www.w3.org/2000/svg" width="10"><rect', "image/svg+xml",
                   "ADVERT"),
    "many-showings": (page('<img src="pic/0" width=2048 height=2048>' * 256), lambda: big_png(2048, 2048), "image/png",
                      "ADVERT"),
}


class HostileServer:
    def __init__(self):

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                parts = self.path.split("/")
                body_page, picture, kind, _ = CASES[parts[1]]
                if "pic" in parts:
                    body, content_type = picture(), kind
                else:
                    body, content_type = body_page, "text/html"
                self.send_response(200)
                self.send_header("Content-Type", content_type)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                with contextlib.suppress(BrokenPipeError, ConnectionResetError):
                    self.wfile.write(body)

            def log_message(self, *args):
                pass

        # Made before any program asks, so no fetch waits for Python.
        for _, picture, _, _ in CASES.values():
            if picture:
                picture()
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.daemon_threads = True
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, case):
        return "http://127.0.0.1:%d/%s/adv/advert.html" % (self.httpd.server_port, case)


def peak_memory_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    raise AssertionError("no VmHWM for process %d" % pid)


def answer_time(control):
    """Seconds the program took to tell where a control stands."""
    began = time.monotonic()
    try:
        control.get_extents(Atspi.CoordType.SCREEN)
    except GLib.Error:
        return float("inf")
    return time.monotonic() - began


def run_case(program, closer, server, name, normal_peak):
    """One program fed the page `name`, watched until its pane ends on the
    right page, then clicked and closed."""
    expected = CASES[name][3]
    with contextlib.ExitStack() as sessions:
        session, window = start(sessions, program, closer, server.url(name))
        hide = window.control("check box", "Hide")
        slowest = 0.0
        deadline = time.monotonic() + 25
        while title(window) != expected:
            assert session.process.poll() is None, "%s: the program ended (%s)" % (name, session.process.poll())
            assert time.monotonic() < deadline, "%s: the pane shows %r, not %r" % (name, title(window), expected)
            slowest = max(slowest, answer_time(hide))
            time.sleep(0.1)
        time.sleep(0.5)  # what follows the page (a drawing given up) has happened
        slowest = max(slowest, answer_time(hide))
        assert slowest < ANSWER_WITHIN, "%s: the window took %.1f s to answer" % (name, slowest)
        peak = peak_memory_mb(session.process.pid)
        assert peak - normal_peak < MEMORY_ABOVE_NORMAL, \
            "%s: peak memory %.0f MB, %.0f MB above a normal page" % (name, peak, peak - normal_peak)
        checked = window.is_checked(hide)
        click(*centre(hide))
        wait_until(lambda: window.is_checked(hide) != checked, ANSWER_WITHIN, "%s: the click on Hide" % name)
        step("  %-18s answered within %.2f s, peak %.0f MB" % (name, slowest, peak))
        reports = [line for line in session.output().splitlines() if "Failed to store" in line]
        assert not reports, "%s: the toolkit reported %r" % (name, reports)
        assert session.close_with_close_box() == 0, "%s: closing failed" % name


def test(program, closer):
    server = HostileServer()
    try:
        with contextlib.ExitStack() as sessions:
            step("a normal page, for the memory it takes")
            session, window = start(sessions, program, closer, server.url("normal"))
            wait_until(lambda: title(window) == "ADVERT", 15, "the normal page")
            time.sleep(0.5)
            normal_peak = peak_memory_mb(session.process.pid)
            assert session.close_with_close_box() == 0
            step("normal page: peak %.0f MB" % normal_peak)
        step("hostile pages")
        for name in CASES:
            if name != "normal":
                run_case(program, closer, server, name, normal_peak)

        step("told to quit while the slowest picture is drawn")
        with contextlib.ExitStack() as sessions:
            session, window = start(sessions, program, closer, server.url("svg-filter"))
            time.sleep(0.5)
            session.process.send_signal(signal.SIGTERM)
            try:
                status = session.process.wait(5)
            except subprocess.TimeoutExpired:
                raise AssertionError("still running 5 s after SIGTERM")
            session.process = None
            assert status == 0, "exit status %d after SIGTERM" % status
    finally:
        server.httpd.shutdown()


if __name__ == "__main__":
    run_test(test, limit=120)
