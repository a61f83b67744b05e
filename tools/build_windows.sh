#!/bin/sh
# Cross-builds the Windows program and its display-free tests with MinGW-w64
# into build-windows/ (or the folder given).
# Usage: tools/build_windows.sh [build folder] [cmake --build arguments...]
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh windows
build=${1:-build-windows}
[ $# -gt 0 ] && shift
launcher=""
command -v ccache >/dev/null 2>&1 && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
# The mingw preset (cmake/mingw-w64.cmake), in the folder given.
cmake --preset mingw -B "$build" -DVANTREL_TESTS=${VANTREL_TESTS:-ON} -DVANTREL_WERROR=${VANTREL_WERROR:-OFF} $launcher
cmake --build "$build" -j"${JOBS:-2}" "$@"
