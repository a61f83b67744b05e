#!/usr/bin/python3
"""End-to-end, against a web server on 127.0.0.1: the HTML pane asks for the
settings file's advert address at start-up and keeps a page titled "advert"
in any case, drawn with the pictures its relative addresses name; a click on
one of its links hands the link's whole address to the browser (a stand-in
xdg-open records it, and inherits none of the toolkit's start-up
variables); a link to anything but the web, or to a place in the page,
opens nothing. Then five
programs at once: a page titled "other", a server that never answers (the
pane waits 10 s), a redirect to a local file, a closed port and an empty
address all end on the embedded page, the last without any request.
Nothing is written under the user's home.
   remote_pane_test.py path/to/vantrel path/to/x11_close_window"""

import contextlib
import http.server
import os
import socket
import struct
import tempfile
import threading
import time
import zlib

from gi.repository import Atspi, GLib

from desktop import click, inherited_toolkit_variables, install_fake_opener, opened, screen_colours
from vantrel_session import VantrelSession, run_test, step
from vantrel_window import _descendants, wait_until

RED = (255, 0, 0)
LINKS = ["../shop/one.html", "/two", "file:///etc/hostname", "#top"]  # each on a 40 x 40 picture, in a row


def png(width, height, rgb):
    """A PNG picture of one colour."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes(rgb) * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


PAGE = ("<html><head><title>ADVERT</title><script>document.write('a script ran')</script></head>"
        "<body marginwidth=0 marginheight=0><table cellspacing=0 cellpadding=0 border=0><tr>" +
        "".join('<td><a href="%s" target="_blank"><img src="img/red.png" width=40 height=40 border=0></a></td>'
                % link for link in LINKS) +
        "</tr></table></body></html>")


class Server:
    """Answers each first path segment its own way and logs every request."""

    def __init__(self):
        self.requests = []
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                server.requests.append(self.path)
                case = self.path.split("/")[1]
                if case == "hang":
                    time.sleep(30)
                    return
                if case == "redirect":
                    self.send_response(302)
                    self.send_header("Location", "file:///etc/hostname")
                    self.end_headers()
                    return
                if self.path.endswith(".png"):
                    body, kind = png(40, 40, RED), "image/png"
                elif case == "page":
                    body, kind = PAGE.encode(), "text/html"
                else:
                    body, kind = b"<html><head><title>other</title></head><body>other</body></html>", "text/html"
                self.send_response(200)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.daemon_threads = True
        self.host = "127.0.0.1:%d" % self.httpd.server_port
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, case):
        return "http://%s/%s/adv/advert.html" % (self.host, case)


def closed_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def pane_document(window):
    """The pane's document as the accessibility bus shows it; None while
    there is none (a document being replaced can vanish mid-walk)."""
    try:
        return next((c for c in _descendants(window.app) if c.get_role_name() == "document web"), None)
    except GLib.Error:
        return None


def title(window):
    document = pane_document(window)
    try:
        return document.get_name() if document else None
    except GLib.Error:
        return None


def start(sessions, program, closer, url):
    """A session kept in the exit stack sessions, and its window."""
    session = sessions.enter_context(VantrelSession(program, closer))
    session.write_settings("[ADVERT]\nurl=%s\n" % url)
    return session, session.start()


def test(program, closer):
    record = install_fake_opener()
    home = tempfile.mkdtemp(prefix="vantrel-home-")
    os.environ["HOME"] = home
    for name in ("XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"):
        os.environ.pop(name, None)
    server = Server()
    try:
        with contextlib.ExitStack() as sessions:
            step("a page titled ADVERT stays, with its pictures")
            session, window = start(sessions, program, closer, server.url("page"))
            wait_until(lambda: title(window) == "ADVERT", 15, "the remote page (the pane shows %r)" % title(window))
            assert server.requests == ["/page/adv/advert.html", "/page/adv/img/red.png"], server.requests
            box = pane_document(window).get_extents(Atspi.CoordType.SCREEN)
            wait_until(lambda: RED in screen_colours(box.x, box.y, 40 * len(LINKS), 40), 5, "the page's picture")

            step("clicking its links")
            for i in range(len(LINKS)):
                click(box.x + 40 * i + 20, box.y + 20)
                time.sleep(0.3)
            expected = ["http://%s/page/shop/one.html" % server.host, "http://%s/two" % server.host]
            wait_until(lambda: len(opened(record)) >= len(expected), 5, "the browser for each web link")
            time.sleep(1)
            assert opened(record) == expected, opened(record)
            leaked = inherited_toolkit_variables(record)
            assert leaked == [], "the browser inherited the toolkit's start-up settings: %r" % leaked
            assert title(window) == "ADVERT", "the pane left the page for %r" % title(window)
            assert len(server.requests) == 2, "the pane loaded a link itself: %r" % server.requests
            assert session.close_with_close_box() == 0

            step("other title, no answer, a redirect to a file, closed port and no address, at once")
            cases = [server.url("other"), server.url("hang"), server.url("redirect"),
                     "http://127.0.0.1:%d/adv/advert.html" % closed_port(), ""]
            before = len(server.requests)
            began = time.monotonic()
            windows = []
            others = []
            for url in cases:
                session, window = start(sessions, program, closer, url)
                windows.append(window)
                others.append(session)
            for url, window in zip(cases, windows):
                wait_until(lambda: title(window) == "advert", 20,
                           "the embedded page for %r (the pane shows %r)" % (url, title(window)))
            waited = time.monotonic() - began
            assert waited >= 9.5, "the silent server was given up after %.1f s" % waited
            assert sorted(server.requests[before:]) == ["/hang/adv/advert.html", "/other/adv/advert.html",
                                                        "/redirect/adv/advert.html"], server.requests[before:]
            for session in others:
                assert session.close_with_close_box() == 0

            step("nothing under the home folder")
            written = [os.path.join(d, f) for d, _, files in os.walk(home) for f in files]
            assert written == [], "files written under the home folder: %r" % written
    finally:
        server.httpd.shutdown()


if __name__ == "__main__":
    run_test(test)
