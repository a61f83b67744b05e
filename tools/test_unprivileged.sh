#!/bin/sh
# Runs the port-level and window-over-pty tests again as an unprivileged user
# (nobody, uid 65534), so that what root passes (the terminals' exclusive-use
# flag, device permissions) is tested as a normal user meets it. The test
# binaries are copied into a temporary directory of that user's own, since the
# build tree may lie where it cannot enter. Run as root this drops to nobody;
# run as a normal user it runs the tests as that user.
#   tools/test_unprivileged.sh [build directory]      (default build)
set -eu
cd "$(dirname "$0")/.."
dir=${1:-build}
TESTS="linux/linux_serial_tests serial/serial_tests app/app_tests"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for t in $TESTS; do
    cp "$dir/$t" "$work/"
done
chmod 755 "$work" "$work"/*

as_user=""
if [ "$(id -u)" -eq 0 ]; then
    chown 65534:65534 "$work"
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi

status=0
for t in $TESTS; do
    name=$(basename "$t")
    echo "== $name as $($as_user id -un 2>/dev/null || $as_user id -u)"
    (cd "$work" && HOME="$work" TMPDIR="$work" $as_user "./$name" --gtest_brief=1) || status=1
done
exit $status
