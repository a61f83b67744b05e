#!/bin/sh
# Runs a command on a private Xvfb display of 1366 x 768 and returns its exit
# status. Xvfb picks a free display number itself (-displayfd), so several
# runs can go at once. -noreset: an X server resets itself when its last
# client leaves and drops connections made meanwhile; a helper that looks at
# the display and goes away must not take the next program's connection
# with it.
#   with_xvfb.sh command [arguments...]
set -u
[ $# -ge 1 ] || { echo "usage: $0 command [arguments...]" >&2; exit 2; }

workdir=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$workdir"' EXIT INT TERM

Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp -noreset 3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!

tries=0
while [ ! -s "$workdir/display" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "with_xvfb: Xvfb did not start" >&2
        cat "$workdir/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done

DISPLAY=":$(head -n 1 "$workdir/display")"
export DISPLAY
# No session bus under Xvfb: keep GTK from waiting for the accessibility
# bus and the settings daemon.
export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory
# Sanitizer builds: the toolkit's lifelong caches are not our leaks.
LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS
"$@"
