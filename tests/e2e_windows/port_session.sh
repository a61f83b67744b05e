#!/bin/sh
# End-to-end test of vantrel.exe under Wine with a pseudo-terminal as COM5,
# a port the system lists only as a DOS device, on a laptop's work area:
# opens the port from the window, sends a hexadecimal frame typed into the
# transmit box and checks it at the far end, writes bytes from the far end
# and checks the receive box and its counter, sends a file from a folder
# whose name is not ASCII, lets the device go while the port is open, then
# closes the port and the window (the settings file must be written). The window is driven from
# outside by vantrel_driver.exe, as Windows test tools drive a program.
# Needs a display (run it under tests/e2e/with_xvfb.sh), wine and socat.
#   port_session.sh BUILD_DIR [SCREENSHOT.png]
# WINEPREFIX: a prefix to use; by default a fresh one in a temporary folder.
# WINE: the wine program (default: wine).
set -eu
build=$(cd "${1:?usage: $0 build-dir [screenshot.png]}" && pwd)
shot=${2:-}
exe="$build/app/vantrel.exe"
driver_exe="$build/tests/e2e_windows/vantrel_driver.exe"
[ -f "$exe" ] && [ -f "$driver_exe" ] || { echo "port_session: build vantrel and vantrel_driver first" >&2; exit 2; }

work=$(mktemp -d)
socat_pid=""
reader_pid=""
app_pid=""
ports_key=""
cleanup() {
    # Whatever has ended already (the reader, once its terminal went) is
    # no failure of the test.
    set +e
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$ports_key" ] && "$WINE" reg delete 'HKLM\Software\Wine\Ports' /v COM5 /f >/dev/null 2>&1
    [ -n "$reader_pid" ] && kill "$reader_pid" 2>/dev/null
    [ -n "$socat_pid" ] && kill "$socat_pid" 2>/dev/null
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

WINE=${WINE:-wine}
# The display is a 1366 x 768 laptop's with a 40 px taskbar at the bottom,
# as a desktop announces it (Wine reads its work area from it when its
# desktop starts, so before any Wine program): the window,
# taller than the rest, must start at the top, its title bar on the screen.
if command -v xprop >/dev/null 2>&1 && [ -n "${DISPLAY:-}" ]; then
    xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, 1366, 728"
    laptop=1
fi

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$work/prefix"
    wineboot -i >/dev/null 2>&1
fi
# Wine draws the window frames itself (there is no window manager on the
# test display), with the caption buttons' font from its own fonts.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
for font in /usr/share/wine/fonts/marlett.ttf; do
    [ -f "$font" ] && cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done
wineserver -w

fail() {
    echo "port_session: FAIL: $*" >&2
    [ -n "$shot" ] && import -window root "$shot" 2>/dev/null
    exit 1
}

# The pseudo-terminal pair: the program's end becomes COM5.
socat pty,raw,echo=0,link="$work/near" pty,raw,echo=0,link="$work/far" 2>"$work/socat.log" &
socat_pid=$!
for _ in $(seq 50); do [ -e "$work/far" ] && [ -e "$work/near" ] && break; sleep 0.1; done
[ -e "$work/near" ] || fail "socat made no pseudo-terminals"
cat "$work/far" >"$work/far.in" 2>/dev/null &
reader_pid=$!

# COM5 as the system knows it, with no settings line naming it. A bare link
# in dosdevices is no DOS device for Wine (QueryDosDevice does not see it);
# Wine's mount manager makes one, and its link and SERIALCOMM entry, for
# each port in HKLM\Software\Wine\Ports when the server starts. Its
# SERIALCOMM entry is then taken away again, as some virtual-port and
# Bluetooth drivers never write one: the list must find COM5 among the DOS
# devices alone.
"$WINE" reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$(readlink -f "$work/near")" /f >/dev/null 2>&1
ports_key=1
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p >/dev/null 2>&1
for _ in $(seq 50); do
    "$WINE" reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' 2>/dev/null | grep -q 'COM5' && break
    sleep 0.2
done
entry=$("$WINE" reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' 2>/dev/null | tr -d '\r' | awk '$3 == "COM5" { print $1 }')
[ -n "$entry" ] || fail "Wine made no COM5 from its Ports key"
"$WINE" reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "$entry" /f >/dev/null 2>&1 || fail "SERIALCOMM kept COM5"

mkdir "$work/app"
cp "$exe" "$driver_exe" "$work/app/"
cd "$work/app"
driver() { "$WINE" vantrel_driver.exe "$@"; }
# The log's save chooser starts in the folder used last: this session's own.
# (Without one, the system's chooser starts where it was last used in this
# prefix, which may be an earlier session's folder, gone since.)
printf '[LOG]\r\nfolder=%s\r\n' "$("$WINE" winepath -w "$work/app" | tr -d '\r')" >vantrel.ini

started=$(date +%s%N)
"$WINE" vantrel.exe >"$work/vantrel.log" 2>&1 &
app_pid=$!
driver wait-window 60000 || fail "the window did not appear"
echo "port_session: window shown after $((($(date +%s%N) - started) / 1000000)) ms"

if [ -n "${laptop:-}" ]; then
    placement=$(driver placement | tr -d '\r')
    echo "port_session: $placement"
    set -- $placement
    [ "${10}" = 728 ] || fail "Wine did not take the work area: $placement"
    [ "$3" = 0 ] || fail "the window does not start at the work area's top: $placement"
fi

driver choose 1023 0-byte || fail "address size"
driver choose 1002 COM5 || driver choose 1002 com5 || fail "COM5 is not in the port list"
driver choose 1005 115200 || fail "baud rate"
driver click 1003
sleep 1
if box=$(driver box 2>/dev/null); then fail "opening COM5 said: $box"; fi

driver set-text 1019 "01 48 65 6C 6C 6F"
driver click 1015
for _ in $(seq 50); do [ "$(wc -c <"$work/far.in")" -ge 6 ] && break; sleep 0.1; done
got=$(od -An -tx1 "$work/far.in" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
[ "$got" = "01 48 65 6c 6c 6f" ] || fail "the far end got '$got'"
driver wait-text 1020 "TX: 6" 5000 || fail "TX counter: $(driver text 1020)"

printf 'Hi\r\n' >"$work/far"
driver wait-text 1018 "48 69 0D 0A" 5000 || fail "receive box: '$(driver text 1018)'"
driver wait-text 1021 "RX: 4" 5000 || fail "RX counter: $(driver text 1021)"

# The window menu's entries, as the system menu sends them: time stamps,
# a log to the file the save chooser suggests, and DTR on a line Wine may
# not drive (a pseudo-terminal has no modem lines).
driver syscommand 144
printf 'Hi\r\n' >"$work/far"
driver wait-text 1018 "] 48 69 0D 0A" 5000 || fail "no time stamp: '$(driver text 1018)'"
driver syscommand 96
driver save-ok 10000 || fail "no save chooser"
driver wait-title "logging to" 5000 || fail "the log did not start: $(driver title)"
printf 'logged\r\n' >"$work/far"
driver wait-text 1021 "RX: 16" 5000 || fail "RX counter: $(driver text 1021)"
driver syscommand 96
for _ in $(seq 50); do grep -qs logged vantrel-*.log && break; sleep 0.1; done
grep -qs logged vantrel-*.log || fail "the log holds '$(cat vantrel-*.log 2>/dev/null)'"
echo "port_session: logged to $(ls vantrel-*.log)"
driver syscommand 32
sleep 0.5
if box=$(driver box 2>/dev/null); then echo "port_session: DTR: $box"; driver box-ok; fi

# Address bytes shown: the port reads a byte at a time with parity errors
# marked. A pseudo-terminal makes none, so FF 00 41 from the far end is
# three data bytes, not an address byte 41.
driver choose 1023 1-byte || fail "address size 1"
driver syscommand 160
sleep 0.5
printf '\377\000\101' >"$work/far"
driver wait-text 1021 "RX: 19" 5000 || fail "RX counter with address bytes shown: $(driver text 1021)"
driver wait-text 1018 "FF 00 41" 5000 || fail "receive box with address bytes shown: '$(driver text 1018)'"
driver syscommand 160
driver choose 1023 0-byte || fail "address size 0"
[ -n "$shot" ] && import -window root "$shot"

# A file from a folder whose name is not ASCII, sent as it is.
mkdir "$work/app/Grüße €"
printf 'file body\r\n' >"$work/app/Grüße €/ñandú.bin"
driver choose 1012 None || fail "protocol"
driver set-text 1029 "$("$WINE" winepath -w "$work/app/Grüße €/ñandú.bin" | tr -d '\r')"
driver click 1026
for _ in $(seq 50); do grep -qs 'file body' "$work/far.in" && break; sleep 0.1; done
grep -qs 'file body' "$work/far.in" || fail "the file did not arrive: $(driver box 2>/dev/null)"

# The port's device goes away while open: the window waits for it; once
# closed, opening it again says that the device is not there.
kill "$socat_pid"
socat_pid=""
driver wait-title "device gone" 5000 || fail "the title did not tell the device went: $(driver title)"
driver click 1009
driver click 1003
sleep 1
box=$(driver box 2>/dev/null) || fail "opening the gone port said nothing"
case $box in *"device is not there"*) echo "port_session: the gone port: $box" ;; *) fail "opening the gone port said: $box" ;; esac
driver box-ok

driver click 1009
sleep 0.5
driver close
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the window did not close"
app_pid=""
grep -q '^\[COMM_PORT\]' vantrel.ini || fail "no settings written on closing"
echo "port_session: OK"
