#!/bin/sh
# Cross-builds the Windows program and its tests (tools/build_windows.sh),
# then runs the display-free test executables under Wine in a private prefix
# (build-windows/wine), the COM port test against a pseudo-terminal, and the
# Win32 window with its end-to-end tests on a private display: a port
# session, and the installer installed, started and removed.
# Usage: tools/test_windows.sh [build folder]
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh windows windows-test
build=${1:-build-windows}
tools/build_windows.sh "$build"

if command -v wine64 >/dev/null 2>&1; then
    WINE=wine64
elif [ -x /usr/lib/wine/wine64 ]; then
    WINE=/usr/lib/wine/wine64
else
    WINE=wine
fi
export WINE
WINEPREFIX=$(cd "$build" && pwd)/wine
export WINEPREFIX
export WINEDEBUG=-all
# No Mono or Gecko installers: the tests need neither. No menu builder:
# nothing of the prefix goes into the Linux desktop's menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
fi

status=0
for test in serial/serial_tests terminal/terminal_tests transfer/transfer_tests settings/settings_tests \
    ui/ui_tests web/web_tests app/app_tests windows/windows_tests; do
    exe="$build/$test.exe"
    echo "== $exe"
    if ! timeout 600 "$WINE" "$exe" --gtest_brief=1; then
        echo "FAILED: $exe"
        status=1
    fi
done

if [ -f "$build/windows/com_port_probe.exe" ]; then
    echo "== COM port through Wine"
    python3 windows/tests/wine_com_port_test.py "$build/windows/com_port_probe.exe" || status=1
fi
# The real window, on a private display: its controls, then the whole
# program driven from outside with a pseudo-terminal as COM5.
# The Wine session of the tests above has no display; it must end first, or
# the window test would join it and could not make a window.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
echo "== the Win32 window"
tests/e2e/with_xvfb.sh "$WINE" "$build/ui_win32/ui_win32_window_test.exe" --gtest_brief=1 || status=1
echo "== vantrel.exe with COM5"
tests/e2e/with_xvfb.sh tests/e2e_windows/port_session.sh "$build" || status=1
echo "== the installer and the portable copy"
tests/e2e/with_xvfb.sh tests/e2e_windows/install_session.sh "$build" || status=1
wineserver -k 2>/dev/null || true
exit $status
