#!/usr/bin/python3
"""End-to-end: settings changed in the real window are written to
vantrel.ini when the window is closed with its close box, sections the
program does not own are kept, and the next start shows the same state.
   settings_round_trip_test.py path/to/vantrel path/to/x11_close_window"""

from vantrel_session import VantrelSession, decode_record, run_test, step

# (list name, row shown at first start, row chosen)
LISTS = [
    ("Address Size", "1-byte", "2-byte"),
    ("Baud Rate", "9600", "115200"),
    ("Parity Scheme", "None", "Even"),
    ("Stop Bits", "1", "2"),
]
# (check box name, which of that name, ticked at first start)
CHECKS = [
    ("ASCII Format", 0, False),             # receiving
    ("Automatic empty display", 0, True),
    ("ASCII Format", 1, False),             # transmitting
]
CYCLE_DEFAULT, CYCLE_CHOSEN = "1000", "250"
FOREIGN = "; kept by the test\n[E2E]\nmarker=kept\n"


def check_window(window, expected_lists, expected_checks, expected_cycle, when):
    for name, row in expected_lists.items():
        shown = window.chosen(window.control("combo box", name))
        assert shown == row, "%s: %r shows %r, expected %r" % (when, name, shown, row)
    for (name, nth), ticked in expected_checks.items():
        box = window.control("check box", name, nth)
        assert window.is_checked(box) == ticked, \
            "%s: %r #%d is %s" % (when, name, nth, "ticked" if not ticked else "clear")
    cycle = window.text(window.control("text", "TX Cycle(ms)"))
    assert cycle == expected_cycle, "%s: TX Cycle shows %r, expected %r" % (when, cycle, expected_cycle)


def close(session, when):
    step("closing with the close box " + when)
    status = session.close_with_close_box()
    assert status == 0, "exit status %d %s" % (status, when)


def test(program, closer):
    with VantrelSession(program, closer) as session:
        session.write_settings(FOREIGN)
        step("first start: defaults")
        window = session.start()
        check_window(window, {name: first for name, first, _ in LISTS},
                     {(name, nth): ticked for name, nth, ticked in CHECKS}, CYCLE_DEFAULT, "first start")
        port_rows = window.rows(window.control("combo box", "Serial Port"))

        step("changing lists, check boxes and TX Cycle")
        for name, _, chosen in LISTS:
            window.choose(window.control("combo box", name), chosen)
        for name, nth, _ in CHECKS:
            window.press(window.control("check box", name, nth))
        window.set_text(window.control("text", "TX Cycle(ms)"), CYCLE_CHOSEN)
        changed_lists = {name: chosen for name, _, chosen in LISTS}
        changed_checks = {(name, nth): not ticked for name, nth, ticked in CHECKS}
        check_window(window, changed_lists, changed_checks, CYCLE_CHOSEN, "after the changes")
        close(session, "after the changes")

        step("reading vantrel.ini")
        ini = session.settings()
        assert ini.get("COMM_ADDR", {}).get("size") == "2", "COMM_ADDR: %r" % ini.get("COMM_ADDR")
        port = decode_record(ini["COMM_PORT"]["setup"], 5)
        first_port = 0 if port_rows else 0xFFFFFFFF
        assert port == [first_port, 12, 2, 3, 2], \
            "COMM_PORT setup holds %r (port, baud, parity, byte size, stop bits rows)" % port
        assert decode_record(ini["RX"]["opt"], 2) == [1, 0], "RX opt: %r" % ini["RX"]["opt"]
        assert decode_record(ini["TX"]["opt"], 3) == [1, 0, 250], "TX opt: %r" % ini["TX"]["opt"]
        assert ini.get("E2E", {}).get("marker") == "kept", "the foreign section was lost: %r" % ini
        written = ini

        step("second start: the saved state")
        window = session.start()
        check_window(window, changed_lists, changed_checks, CYCLE_CHOSEN, "second start")
        close(session, "unchanged")
        assert session.settings() == written, \
            "closing without changes rewrote the settings differently: %r" % session.settings()


if __name__ == "__main__":
    run_test(test)
