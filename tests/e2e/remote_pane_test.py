#!/usr/bin/python3
"""End-to-end, against a web server on 127.0.0.1: the HTML pane asks for the
settings file's advert address at start-up and keeps a page titled "advert"
in any case; its pages' new-window requests made by a click reach the
browser (a stand-in xdg-open records them), which inherits none of the
engine's environment variables; those made without one, or for
anything but http, do not, and no page crashes the program. Then four
programs at once: a page titled "other", a server that never answers (the
pane waits 10 s), a closed port and an empty address all end on the
embedded page, the last without any request. Nothing is written under the
user's home.
   remote_pane_test.py path/to/vantrel path/to/x11_close_window"""

import contextlib
import http.server
import os
import socket
import subprocess
import tempfile
import threading
import time

from gi.repository import Atspi, GLib

from desktop import click, inherited_engine_variables, install_fake_opener, opened
from vantrel_session import VantrelSession, run_test, step
from vantrel_window import _descendants, wait_until

TRICKS = """<!DOCTYPE html>
<html><head><title>ADVERT</title>
<style>body { margin: 0 } .b { position: absolute; top: 0; width: 50px; height: 50px; display: block }</style>
<script>
// Pop-ups without any click, once the page has loaded.
window.onload = function () { setTimeout(function () {
  window.open("/popup-timer");
  document.getElementById("timer-form").submit();
  document.getElementById("timer-link").click();
}, 100); };
</script></head><body>
<a class="b" style="left: 0" href="#" onclick="window.open('http://%(host)s/popup-click'); return false">1</a>
<a class="b" style="left: 60px" href="http://%(host)s/blank-link" target="_blank">2</a>
<form target="_blank" action="http://%(host)s/form-target"><input type="hidden" name="q" value="1">
<button class="b" style="left: 120px">3</button></form>
<a class="b" style="left: 180px" href="#" onclick="window.open('file:///etc/hostname'); return false">4</a>
<a class="b" style="left: 240px" href="vantrel-e2e:hello" target="_blank">5</a>
<a class="b" style="left: 300px" href="/redirect-scheme">6</a>
<a class="b" style="left: 360px" href="/redirect-file">7</a>
<form id="timer-form" target="_blank" action="/form-timer"></form>
<a id="timer-link" href="/click-timer" target="_blank"></a>
</body></html>
"""

CLICKED = ["/popup-click", "/blank-link", "/form-target?q=1"]


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
                elif case.startswith("redirect"):
                    self.send_response(302)
                    self.send_header("Location", "file:///etc/hostname" if case == "redirect-file" else "vantrel-e2e:x")
                    self.end_headers()
                else:
                    page = TRICKS % {"host": server.host} if case == "tricks" else \
                        "<html><head><title>other</title></head><body>other</body></html>"
                    body = page.encode()
                    self.send_response(200)
                    self.send_header("Content-Type", "text/html")
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
    """The pane's document as the engine's accessibility shows it; None while
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
            step("a page titled ADVERT stays")
            session, window = start(sessions, program, closer, server.url("tricks"))
            wait_until(lambda: title(window) == "ADVERT", 15, "the remote page (the pane shows %r)" % title(window))
            assert server.requests[0] == "/tricks/adv/advert.html", server.requests

            step("clicking the page's pop-ups, links and forms")
            box = pane_document(window).get_extents(Atspi.CoordType.SCREEN)
            for left in range(0, 360, 60):
                click(box.x + left + 25, box.y + 25)
                time.sleep(0.3)
            wait_until(lambda: len(opened(record)) >= len(CLICKED), 5, "the browser for each clicked pop-up")
            time.sleep(1)
            assert opened(record) == ["http://%s%s" % (server.host, path) for path in CLICKED], opened(record)
            leaked = inherited_engine_variables(record)
            assert leaked == [], "the browser inherited the engine's settings: %r" % leaked
            assert title(window) == "ADVERT", "the pane left the page for %r" % title(window)
            popups = [p for p in server.requests if "popup" in p or "timer" in p or "blank" in p or "form" in p]
            assert popups == [], "the engine loaded a pop-up itself: %r" % server.requests

            step("a redirect to a local file")
            # The engine's page process crashes on it; the pane recovers.
            click(box.x + 360 + 25, box.y + 25)
            wait_until(lambda: "/redirect-file" in server.requests, 5, "the redirecting request")
            time.sleep(1)
            wait_until(lambda: title(window) in ("ADVERT", "advert"), 10,
                       "a page in the pane (it shows %r)" % title(window))
            assert len(opened(record)) == len(CLICKED), opened(record)
            assert session.close_with_close_box() == 0

            step("other title, no answer, closed port and no address, at once")
            cases = [server.url("other"), server.url("hang"), "http://127.0.0.1:%d/adv/advert.html" % closed_port(), ""]
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
            assert sorted(server.requests[before:]) == ["/hang/adv/advert.html", "/other/adv/advert.html"], \
                server.requests[before:]
            for session in others:
                assert session.close_with_close_box() == 0

            step("nothing under the home folder")
            written = [os.path.join(d, f) for d, _, files in os.walk(home) for f in files]
            assert written == [], "files written under the home folder: %r" % written
    finally:
        server.httpd.shutdown()


if __name__ == "__main__":
    run_test(test)
