#!/bin/sh
# Fails when a source breaks the folder include rules:
# - serial/, terminal/, transfer/, settings/, linux/ and posix/ (outside their tests
#   and fuzz targets) include nothing of app/, ui/, ui_wx/, ui_headless/,
#   res/ or web/;
# - only ui_wx/ includes wx headers; only linux/, the test doubles and the
#   benchmarks (which check a far end's line settings) include termios headers.
# Usage: check_layout.sh [source root]
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2
status=0

report() {
    if [ -n "$1" ]; then
        printf '%s\n%s\n' "$2" "$1"
        status=1
    fi
}

sources() {
    find "$@" -type f \( -name '*.h' -o -name '*.cpp' \) \
        -not -path '*/tests/*' -not -path '*/fuzz/*' 2>/dev/null
}

hits=$(sources serial terminal transfer settings linux posix |
    xargs -r grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(app|ui|ui_wx|ui_headless|res|web)/')
report "$hits" "Logic folders must not include window headers:"

hits=$(find . -path ./ui_wx -prune -o -path './build*' -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print |
    xargs -r grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<wx/')
report "$hits" "wx headers belong in ui_wx/ only:"

hits=$(find . -path ./linux -prune -o -path ./fakes -prune -o -path ./bench -prune -o -path './build*' -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print |
    xargs -r grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(termios|asm/termbits|asm/termios)\.h>')
report "$hits" "termios headers belong in linux/ only:"

exit $status
