#!/bin/sh
# End-to-end: the program starts, shows its window titled "Vantrel", and
# ends with exit status 0 within a few seconds of a close-box request.
# Run it on a display (with_xvfb.sh provides one).
#   close_box_test.sh path/to/program path/to/x11_close_window
set -u
[ $# -eq 2 ] || { echo "usage: $0 program x11_close_window" >&2; exit 2; }
program=$1
closer=$2

# The program keeps its settings beside itself: run a copy in a scratch
# directory so the build tree stays clean. CLOSE_BOX_IN_PLACE=1 runs it where
# it stands (an installed program); RUN_AS is a command that starts it as
# another user and then becomes it (setpriv ...).
if [ -n "${CLOSE_BOX_IN_PLACE:-}" ]; then
    copy=$program
else
    workdir=$(mktemp -d)
    trap 'rm -rf "$workdir"' EXIT
    cp "$program" "$workdir/"
    copy="$workdir/$(basename "$program")"
fi

${RUN_AS:-} "$copy" &
pid=$!

window=""
tries=0
while [ -z "$window" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 150 ] || ! kill -0 $pid 2>/dev/null; then
        echo "FAIL: no window titled Vantrel appeared" >&2
        kill $pid 2>/dev/null
        exit 1
    fi
    sleep 0.1
    window=$(xdotool search --onlyvisible --name '^Vantrel$' 2>/dev/null | head -n 1)
done
echo "window $window is up"
sleep 0.5

"$closer" "$window" || { echo "FAIL: could not send the close request" >&2; kill $pid; exit 1; }

tries=0
while kill -0 $pid 2>/dev/null; do
    tries=$((tries + 1))
    if [ $tries -gt 50 ]; then
        echo "FAIL: still running 5 s after the close request" >&2
        kill $pid
        exit 1
    fi
    sleep 0.1
done
wait $pid
status=$?
if [ $status -ne 0 ]; then
    echo "FAIL: exit status $status" >&2
    exit 1
fi
echo "PASS: closed with exit status 0"
