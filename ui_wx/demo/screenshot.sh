#!/bin/sh
# Takes a screenshot of a window program on a private 1366 x 768 Xvfb screen.
#   screenshot.sh path/to/executable [output.png]
# Waits until a window titled "Vantrel" is shown, lets it settle, saves the
# whole screen as a PNG (default: vantrel-screenshot.png) and ends the program.
# SETTLE=seconds waits longer before the shot (the HTML pane's fallback page
# appears a few seconds after start when there is no network).
set -u
[ $# -ge 1 ] || { echo "usage: $0 executable [output.png]" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "$1")
out=$(realpath -m "${2:-vantrel-screenshot.png}")

exec "$here/../../tests/e2e/with_xvfb.sh" sh -c '
    "$1" & app=$!
    tries=0
    until xdotool search --name "^Vantrel\$" >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ $tries -le 100 ] || { echo "no Vantrel window" >&2; kill $app; exit 1; }
        sleep 0.1
    done
    sleep "${SETTLE:-1}"
    import -window root "$2"
    status=$?
    kill $app 2>/dev/null; wait $app 2>/dev/null
    exit $status
' screenshot "$exe" "$out"
