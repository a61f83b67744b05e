#!/bin/sh
# Builds Vantrel with its tests and runs them all, the end-to-end tests
# under Xvfb included. With --sanitize: the logic's tests (no wx window)
# under AddressSanitizer and UndefinedBehaviorSanitizer, in build-sanitize/.
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh

if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON -DVANTREL_WX=OFF -DVANTREL_TESTS=ON >/dev/null
else
    dir=build
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_WX=ON -DVANTREL_TESTS=ON -DVANTREL_SANITIZE=OFF >/dev/null
fi
cmake --build "$dir" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
