#!/bin/sh
# Installs the Debian packages Vantrel needs to build, run and test, when
# any is missing. Run as root (or through sudo) on Debian 12.
set -eu

PACKAGES="
build-essential
cmake
pkg-config
libgtest-dev
libwxgtk3.2-dev
libcurl4-gnutls-dev
libgtk-3-dev
librsvg2-common
xvfb
xauth
xdotool
x11-utils
libx11-dev
lrzsz
socat
util-linux
imagemagick
fonts-symbola
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
g++-mingw-w64-x86-64-posix
googletest
wine
wine64
fonts-wine
"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
