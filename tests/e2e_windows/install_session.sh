#!/bin/sh
# What a Windows user gets, under Wine: the portable copy's contents, then
# the installer. An older package (the same program, an earlier version
# number) is installed first and the real one over it, which must replace
# it in place: one entry in the list of installed programs, with name,
# version and publisher. The installed vantrel.exe carries the version
# resource, starts from Program Files, closes with its close box and keeps
# its settings in %APPDATA%\vantrel; the Start menu has its entry;
# uninstalling removes the program, its entry and its shortcut.
# Needs a display (run it under tests/e2e/with_xvfb.sh), wine, wixl, python3.
#   install_session.sh BUILD_DIR
# WINEPREFIX: a prefix to use; by default a fresh one in a temporary folder.
# WINE: the wine program (default: wine).
# KEEP_WORK: when set, the temporary folder (with msiexec's logs) is kept.
set -eu
build=$(cd "${1:?usage: $0 build-dir}" && pwd)
msi=$(ls "$build"/vantrel-*-x64.msi 2>/dev/null | head -n 1)
version=${msi##*/vantrel-}
version=${version%-x64.msi}
zip="$build/vantrel-$version-x64.zip"
driver_exe="$build/tests/e2e_windows/vantrel_driver.exe"
[ -f "$msi" ] && [ -f "$zip" ] && [ -f "$driver_exe" ] ||
    { echo "install_session: build the packages and vantrel_driver first" >&2; exit 2; }

work=$(mktemp -d)
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    wineserver -k 2>/dev/null || true
    [ -n "${KEEP_WORK:-}" ] && echo "install_session: kept $work" >&2 || rm -rf "$work"
}
trap cleanup EXIT INT TERM
fail() {
    echo "install_session: FAIL: $*" >&2
    exit 1
}

WINE=${WINE:-wine}
# No Mono or Gecko; and no menu entries or icons written into the Linux
# desktop for the program's shortcut.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$work/prefix"
    wineboot -i >/dev/null 2>&1
fi
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

# The portable copy: the program, the licence and the readme, nothing else.
files=$(python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
[ "$files" = "LICENSE.txt README.txt vantrel.exe" ] || fail "the zip holds: $files"

driver() { "$WINE" "$driver_exe" "$@"; }
windows_path() { "$WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
uninstall_entries() {
    "$WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r'
}
# The uninstall entries named Vantrel: "version|publisher" lines.
installed() {
    uninstall_entries | awk '
        /^HKEY_/ { if (name == "Vantrel") print version "|" publisher; name = version = publisher = "" }
        $1 == "DisplayName" { name = substr($0, index($0, "REG_SZ") + 10) }
        $1 == "DisplayVersion" { version = substr($0, index($0, "REG_SZ") + 10) }
        $1 == "Publisher" { publisher = substr($0, index($0, "REG_SZ") + 10) }
        END { if (name == "Vantrel") print version "|" publisher }'
}

# msiexec ACTION PACKAGE, quietly, with a verbose log. A failure shows its
# exit code and the log's end; one that Wine reports while an earlier
# install is still winding down (seen once in CI, never here) is given one
# more try. The Windows paths are made anew for each try: winepath prints
# nothing when it fails.
msiexec_quiet() {
    action=$1 package=$2
    log="$work/${package##*/}-${action#/}.log"
    for attempt in 1 2; do
        rc=0
        package_path=$(windows_path "$package")
        log_path=$(windows_path "$log")
        if [ -z "$package_path" ] || [ -z "$log_path" ]; then
            echo "install_session: winepath gave no Windows path for $package (try $attempt)" >&2
        else
            "$WINE" msiexec "$action" "$package_path" /qn /l*v "$log_path" || rc=$?
            [ "$rc" -eq 0 ] && return 0
            printf "install_session: msiexec %s %s ended with %s (try %s); its log ends:\n" \
                "$action" "$package_path" "$rc" "$attempt" >&2
            # The actions that failed, then the log's last lines.
            grep -a 'Return value 3' "$log" >&2 2>/dev/null || true
            tail -n 25 "$log" >&2 2>/dev/null || true
        fi
        timeout 60 wineserver -w 2>/dev/null || true
    done
    return 1
}

# An older version: the same package source with an earlier number.
cp -r "$build/package" "$work/older"
(cd "$work/older" && wixl -a x64 -D Version=0.9 -o "$work/vantrel-0.9-x64.msi" vantrel.wxs) ||
    fail "wixl could not make the older package"
msiexec_quiet /i "$work/vantrel-0.9-x64.msi" || fail "msiexec /i of the older package"
# Everything the first install started has ended before the second begins.
timeout 60 wineserver -w 2>/dev/null || true
[ "$(installed)" = "0.9|The Vantrel developers" ] || fail "after the older package: '$(installed)'"

msiexec_quiet /i "$msi" || fail "msiexec /i"
[ "$(installed)" = "$version|The Vantrel developers" ] || fail "not upgraded in place: '$(installed)'"
program_files=$("$WINE" cmd /c 'echo %ProgramFiles%' 2>/dev/null | tr -d '\r')
folder=$("$WINE" winepath -u "$program_files\\Vantrel" 2>/dev/null)
[ -f "$folder/vantrel.exe" ] && [ -f "$folder/LICENSE.txt" ] || fail "nothing in $folder"
shortcut=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Vantrel.lnk' | head -n 1)
[ -n "$shortcut" ] || fail "no Start-menu entry"
printf "install_session: %s installed over 0.9 into %s, Start menu: %s\n" "$version" "$program_files\\Vantrel" "${shortcut#"$WINEPREFIX/"}"

resource=$(driver version "$program_files\\Vantrel\\vantrel.exe" | tr -d '\r')
printf '%s\n' "$resource" | sed 's/^/install_session:   /'
has() { printf '%s\n' "$resource" | grep -q "$1"; }
has "^ProductVersion=$version\$" || fail "the version resource's product version"
has "^FileVersion=$version\." && has "^FixedFileVersion=$version\." || fail "the version resource's file version"
has "^ProductName=Vantrel\$" && has "^CompanyName=The Vantrel developers\$" || fail "the version resource's names"

# The installed program, started from its folder as the shortcut does.
appdata=$("$WINE" winepath -u "$("$WINE" cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')" 2>/dev/null)
rm -f "$appdata/vantrel/vantrel.ini"
(cd "$folder" && exec "$WINE" "$program_files\\Vantrel\\vantrel.exe") >"$work/vantrel.log" 2>&1 &
app_pid=$!
driver wait-window 60000 || fail "the installed program showed no window"
driver close
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the window did not close"
app_pid=""
grep -q '^\[COMM_PORT\]' "$appdata/vantrel/vantrel.ini" 2>/dev/null || fail "no settings in %APPDATA%\\vantrel"
[ ! -e "$folder/vantrel.ini" ] || fail "settings written into Program Files"
printf "%s\n" "install_session: settings in %APPDATA%\\vantrel\\vantrel.ini"

msiexec_quiet /x "$msi" || fail "msiexec /x"
[ -z "$(installed)" ] || fail "still listed after removal: '$(installed)'"
[ ! -e "$folder/vantrel.exe" ] || fail "vantrel.exe stays after removal"
[ ! -e "$shortcut" ] || fail "the Start-menu entry stays after removal"
rm -rf "$appdata/vantrel"
echo "install_session: OK"
