#!/bin/sh
# The folder include rules (docs/design.md, Layout) that the build cannot check.
# Each folder's library sees only the folders it links, and only the wx back
# end sees wx, so a source that breaks the rules fails to compile. What is
# left for this script:
# - termios headers are system headers, visible everywhere: only linux/, the
#   test doubles and the benchmarks (which check a far end's line settings)
#   include them;
# - windows.h and its kin are system headers too: only windows/, win32/, ui_win32/,
#   the Windows end-to-end test's driver (tests/e2e_windows/)
#   and the one-file-per-system sources named *_win32.cpp include them;
# - an include of the program's own headers by a relative path ("../")
#   passes round the folder views: none is allowed;
# - a header is compiled only where it is included, maybe only by folders
#   that may see more than its own: the headers of base/, serial/, terminal/,
#   transfer/, settings/, linux/, posix/ and threads/ include nothing of app/,
#   ui/, ui_wx/, ui_headless/, res/ or web/, and no header outside ui_wx/
#   includes wx.
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

# The project's C++ files under the given paths (default: all of them).
sources() {
    find "${@:-.}" -path './build*' -prune -o -path ./.git -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print \
        2>/dev/null
}

hits=$(sources | grep -vE '^\./(linux|fakes|bench)/' |
    xargs -r grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(termios|asm/termbits|asm/termios)\.h>')
report "$hits" "termios headers belong in linux/ only:"

hits=$(sources | grep -vE '^\./(windows|win32|ui_win32|tests/e2e_windows)/' | grep -v '_win32\.cpp$' |
    xargs -r grep -niE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(windows|windef|handleapi|winbase|winuser|shellapi|shlobj|setupapi|dbt)\.h>')
report "$hits" "windows.h belongs in windows/, ui_win32/ and *_win32.cpp files only:"

hits=$(sources | xargs -r grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"\.\./')
report "$hits" "Include the program's headers by their folder (\"serial/com_port.h\"), not by a relative path:"

hits=$(sources base serial terminal transfer settings linux files posix threads | grep '\.h$' | grep -v /tests/ |
    xargs -r grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(app|ui|ui_wx|ui_headless|res|web)/')
report "$hits" "Logic folders' headers must not include window headers:"

hits=$(sources | grep '\.h$' | grep -v '^\./ui_wx/' |
    xargs -r grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<wx/')
report "$hits" "wx headers belong in ui_wx/ only:"

exit $status
