#!/bin/sh
# Installs the Debian packages of the named sets that are missing. Run as
# root (or through sudo) on Debian 12.
#   tools/deps.sh [SET...]      (default: all)
# Sets:
#   build          compiling and starting the program (tools/run.sh)
#   test           the tests on Linux (tools/test.sh, with build): the unit
#                  and end-to-end tests, the install test, the lock rules and
#                  the fuzzing run (clang), the layout check (clang-format)
#   windows        the Windows cross build (tools/build_windows.sh)
#   windows-test   running it under Wine (tools/test_windows.sh, with windows)
#   all            every set (.ci/run)
set -eu

# The compiler, CMake, wx, GTK and libcurl to build with; librsvg2-common
# is the system's SVG loader (the built-in page's pictures), fonts-symbola
# has the control pictures the receive box shows.
BUILD="
build-essential
cmake
pkg-config
libwxgtk3.2-dev
libcurl4-gnutls-dev
libgtk-3-dev
librsvg2-common
fonts-symbola
"

# GoogleTest; Xvfb and the X tools the end-to-end tests drive the window
# with (libx11-dev for x11_close_window); lrzsz, socat, and U-Boot in QEMU
# (u-boot-qemu, qemu-system-arm) for the far ends;
# util-linux for setpriv (tests as an unprivileged user); imagemagick for
# screenshots and the icon check; the session bus and the accessibility
# bus with their Python bindings (and GTK's, for the paste benchmark);
# dpkg-dev, desktop-file-utils and appstream for the install test; clang
# for the lock rules and fuzzing; clang-format for the layout of the
# sources.
TEST="
libgtest-dev
xvfb
xauth
xdotool
x11-utils
libx11-dev
lrzsz
u-boot-qemu
qemu-system-arm
socat
util-linux
imagemagick
dbus-bin
dbus-daemon
at-spi2-core
python3-gi
gir1.2-atspi-2.0
gir1.2-gtk-3.0
dpkg-dev
desktop-file-utils
appstream
clang
clang-format
"

# MinGW-w64 (posix threads) and GoogleTest's sources to build it with;
# msitools' wixl for the installer and zip for the portable copy.
WINDOWS="
cmake
make
g++-mingw-w64-x86-64-posix
googletest
wixl
zip
"

# Wine with its fonts; Xvfb for the window and xprop (x11-utils) for its
# work area, socat for the COM port's far end, Python for the port test.
WINDOWS_TEST="
wine
wine64
fonts-wine
xvfb
x11-utils
socat
python3
"

[ $# -gt 0 ] || set -- all
PACKAGES=""
for set in "$@"; do
    case $set in
    build) PACKAGES="$PACKAGES $BUILD" ;;
    test) PACKAGES="$PACKAGES $TEST" ;;
    windows) PACKAGES="$PACKAGES $WINDOWS" ;;
    windows-test) PACKAGES="$PACKAGES $WINDOWS_TEST" ;;
    all) PACKAGES="$PACKAGES $BUILD $TEST $WINDOWS $WINDOWS_TEST" ;;
    *)
        echo "usage: $0 [build|test|windows|windows-test|all]..." >&2
        exit 2
        ;;
    esac
done

missing=""
for p in $PACKAGES; do
    case " $missing " in *" $p "*) continue ;; esac
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
