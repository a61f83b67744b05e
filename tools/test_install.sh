#!/bin/sh
# Installs Vantrel as users do and checks what they get:
# 1. `cmake --install` to a temporary prefix: the menu entry and the AppStream
#    metadata pass their validators, the icon is a 32 x 32 PNG, and the
#    installed program, started as a normal user and closed with the close
#    box, keeps its settings in $XDG_CONFIG_HOME/vantrel/vantrel.ini.
# 2. The Debian package (cpack -G DEB): its name and contents, its
#    dependencies (the web fetcher's among them), installed with apt-get and
#    /usr/bin/vantrel started the same way; removed again afterwards.
# Root runs the program as nobody (uid 65534); step 2 needs root.
#   tools/test_install.sh [build directory]      (default build, as tools/test.sh leaves it)
set -eu
cd "$(dirname "$0")/.."
src=$(pwd)
dir=$(cd "${1:-build}" && pwd)
e2e=$src/tests/e2e
app_id=org.vantrel.Vantrel

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --build "$dir" --target vantrel vantrel_desktop_icon x11_close_window -j"$(nproc)" >/dev/null

work=$(mktemp -d)
installed_here=""
cleanup() {
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
    [ -z "$installed_here" ] || apt-get remove -y -qq vantrel >/dev/null
}
trap cleanup EXIT
chmod 755 "$work"

# start_and_close program: runs it as a normal user on a private display with
# a home of its own, closes it with the close box and looks for the settings
# the close wrote. The file starts with an empty advert address, so the pane
# goes to no remote page.
start_and_close() {
    home="$work/home"
    rm -rf "$home"
    mkdir -p "$home/config/vantrel" "$home/run"
    chmod 700 "$home/run"
    printf '[ADVERT]\nurl=\n' >"$home/config/vantrel/vantrel.ini"
    as_user=""
    if [ "$(id -u)" -eq 0 ]; then
        chown -R 65534:65534 "$home"
        as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
    fi
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run" CLOSE_BOX_IN_PLACE=1 RUN_AS="$as_user" \
        "$e2e/with_xvfb.sh" "$e2e/close_box_test.sh" "$1" "$dir/tests/e2e/x11_close_window"
    grep -q '^\[COMM_PORT\]' "$home/config/vantrel/vantrel.ini" ||
        fail "$1 did not save its settings in \$XDG_CONFIG_HOME/vantrel/vantrel.ini"
}

echo "== cmake --install"
prefix="$work/prefix"
cmake --install "$dir" --prefix "$prefix" >/dev/null
desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail "desktop entry"
appstreamcli validate --no-net --strict "$prefix/share/metainfo/$app_id.metainfo.xml" || fail "AppStream metadata"
[ "$(identify -format '%m %wx%h' "$prefix/share/icons/hicolor/32x32/apps/$app_id.png")" = "PNG 32x32" ] ||
    fail "the icon is not a 32 x 32 PNG"
[ -s "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "no scalable icon"
chmod -R a-w "$prefix" # as under /usr: the folder of the executable cannot be written
start_and_close "$prefix/bin/vantrel"

echo "== Debian package"
if [ "$(id -u)" -ne 0 ]; then
    echo "not root: the package is not installed"
    exit 0
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")
deb="$dir/vantrel_${version}_$(dpkg --print-architecture).deb"
rm -f "$dir"/vantrel_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
[ -f "$deb" ] || fail "cpack made no $deb"
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
for f in bin/vantrel share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
    share/icons/hicolor/32x32/apps/$app_id.png share/icons/hicolor/scalable/apps/$app_id.svg share/doc/vantrel/copyright; do
    grep -qx "./usr/$f" "$work/contents" || fail "the package lacks /usr/$f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for p in libcurl3-gnutls libwxgtk3.2-1 libgtk-3-0 libc6; do
    echo "$depends" | grep -q "\\b$p\\b" || fail "the package does not depend on $p: $depends"
done
dpkg-query -W -f='${Status}' vantrel 2>/dev/null | grep -q "install ok installed" || installed_here=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
[ -x /usr/bin/vantrel ] || fail "apt-get did not install /usr/bin/vantrel"
start_and_close /usr/bin/vantrel
echo "PASS: installed, started and closed, settings in \$XDG_CONFIG_HOME"
