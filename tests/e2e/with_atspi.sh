#!/bin/sh
# Runs a command on a private D-Bus session bus with the accessibility bus
# switched on, so GTK programs started by the command register with AT-SPI
# and the command can drive them as an assistive tool would. The session bus
# starts the accessibility bus and its registry on first request.
# Run it on a display (with_xvfb.sh provides one).
#   with_atspi.sh command [arguments...]
set -u
[ $# -ge 1 ] || { echo "usage: $0 command [arguments...]" >&2; exit 2; }
command -v dbus-run-session >/dev/null 2>&1 || {
    echo "with_atspi: dbus-run-session is missing (Debian package dbus-bin)" >&2
    exit 1
}
[ -x /usr/libexec/at-spi-bus-launcher ] || {
    echo "with_atspi: the accessibility bus is missing (Debian package at-spi2-core)" >&2
    exit 1
}
# with_xvfb.sh keeps GTK away from the accessibility bridge; here it is wanted.
unset NO_AT_BRIDGE
# The bus daemons report harmless resource-limit notes on stderr; the
# command's own output stays as it is.
exec dbus-run-session -- "$@"
