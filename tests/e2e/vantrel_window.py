"""The Vantrel window as an assistive tool sees it over AT-SPI: controls
found by role and accessible name, pressed through their actions, lists
chosen through their Selection interface, text set through EditableText and
read through Text. What changes (texts, states, selections) is asked of the
program each time rather than taken from the AT-SPI client's cache."""

import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


class WindowError(AssertionError):
    pass


def wait_until(predicate, timeout, what):
    """Polls predicate until it returns a true value, which is returned;
    fails with `what` after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise WindowError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(0.05)


def _descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        yield child
        yield from _descendants(child)


def _find_application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except gi.repository.GLib.Error:
            continue  # an application that has just gone away
    return None


class VantrelWindow:
    def __init__(self, app):
        self.app = app
        self._controls = None

    @classmethod
    def attach(cls, pid, timeout=15):
        """The window of the program with this process id, once its
        controls are there."""
        app = wait_until(lambda: _find_application(pid), timeout,
                         "process %d on the accessibility bus" % pid)
        window = cls(app)
        wait_until(lambda: window._load_controls(), timeout, "the window's controls")
        return window

    def _load_controls(self):
        frames = [self.app.get_child_at_index(i) for i in range(self.app.get_child_count())]
        main = [f for f in frames if f is not None and f.get_name() == "Vantrel"]
        if not main:
            return False
        controls = [c for c in _descendants(main[0]) if c.get_role_name() != "menu item"]
        if not any(c.get_role_name() == "push button" and c.get_name() == "Open" for c in controls):
            return False
        self._controls = controls
        return True

    # --- Finding controls ------------------------------------------------------

    def control(self, role, name, nth=0):
        """The nth control (in the window's tab order) of this role and
        accessible name."""
        matches = [c for c in self._controls if c.get_role_name() == role and c.get_name() == name]
        if len(matches) <= nth:
            raise WindowError("no %s named %r (#%d); the window has: %s"
                              % (role, name, nth, self.describe()))
        return matches[nth]

    def text_boxes(self):
        """The multi-line boxes, top to bottom: the receive box, then the
        transmit box. They carry no name, so they are told apart by place."""
        boxes = [c for c in self._controls
                 if c.get_role_name() == "text" and c.get_parent().get_role_name() == "scroll pane"]
        return sorted(boxes, key=lambda b: b.get_extents(Atspi.CoordType.WINDOW).y)

    def label_starting(self, prefix):
        for c in self._controls:
            if c.get_role_name() == "label" and self.text(c).startswith(prefix):
                return c
        raise WindowError("no label starting %r" % prefix)

    def describe(self):
        return ", ".join("%s %r" % (c.get_role_name(), c.get_name()) for c in self._controls)

    # --- Acting ------------------------------------------------------------------

    def press(self, control):
        """Presses a button or toggles a check box through its first action."""
        if not self.is_enabled(control):
            raise WindowError("%s %r is disabled" % (control.get_role_name(), control.get_name()))
        if not control.do_action(0):
            raise WindowError("%s %r refused its action" % (control.get_role_name(), control.get_name()))

    def choose(self, combo, item_name):
        """Selects the list row shown as item_name, as a user picking it."""
        rows = self.rows(combo)
        if item_name not in rows:
            raise WindowError("%r offers no %r; it has %r" % (combo.get_name(), item_name, rows))
        if not combo.select_child(rows.index(item_name)):
            raise WindowError("%r refused to select %r" % (combo.get_name(), item_name))
        wait_until(lambda: self.chosen(combo) == item_name, 5,
                   "%r to show %r" % (combo.get_name(), item_name))

    def set_text(self, control, text):
        if not control.set_text_contents(text):
            raise WindowError("%r refused the text %r" % (control.get_name(), text))
        wait_until(lambda: self.text(control) == text, 5, "the text %r to be set" % text)

    # --- Reading -----------------------------------------------------------------

    @staticmethod
    def rows(combo):
        menu = combo.get_child_at_index(0)
        return [menu.get_child_at_index(i).get_name() for i in range(menu.get_child_count())]

    @staticmethod
    def chosen(combo):
        """The name of the selected row, or None when nothing is selected."""
        row = combo.get_selected_child(0)
        return row.get_name() if row is not None else None

    @staticmethod
    def text(control):
        return control.get_text(0, control.get_character_count())

    @staticmethod
    def _has_state(control, state):
        control.clear_cache()
        return control.get_state_set().contains(state)

    def is_checked(self, control):
        return self._has_state(control, Atspi.StateType.CHECKED)

    def is_enabled(self, control):
        return self._has_state(control, Atspi.StateType.SENSITIVE)

    def message_boxes(self):
        """The texts of any message box the program shows."""
        texts = []
        for i in range(self.app.get_child_count()):
            try:
                top = self.app.get_child_at_index(i)
                if top is None or top.get_name() == "Vantrel":
                    continue
                labels = [c for c in _descendants(top) if c.get_role_name() == "label"]
                texts.append(" / ".join(self.text(label) for label in labels) or top.get_name())
            except GLib.GError:
                # A box that closed while it was being read is no longer shown.
                continue
        return texts


def open_port(window, port_name):
    """Picks the port in the "Serial Port" list and presses Open; the port is
    open once Open is disabled."""
    window.choose(window.control("combo box", "Serial Port"), port_name)
    open_button = window.control("push button", "Open")
    window.press(open_button)

    def opened():
        if window.message_boxes():
            raise WindowError("opening %s showed: %s" % (port_name, window.message_boxes()))
        return not window.is_enabled(open_button)
    wait_until(opened, 5, "port %s to open" % port_name)
