#!/bin/sh
# Builds Vantrel with its tests and runs them all, the end-to-end tests
# under Xvfb included. With --fuzz: a short fuzzing run (see below). With --sanitize: the logic's tests (no wx window)
# under AddressSanitizer and UndefinedBehaviorSanitizer, in build-sanitize/.
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh

# --fuzz: a short libFuzzer run of the settings reader, where clang is present.
if [ "${1:-}" = "--fuzz" ]; then
    if ! command -v clang++ >/dev/null 2>&1; then
        echo "clang++ not found: fuzzing skipped"
        exit 0
    fi
    CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_WX=OFF -DVANTREL_TESTS=OFF >/dev/null
    if ! cmake --build build-fuzz --target settings_fuzz -j"$(nproc)" >build-fuzz/build.log 2>&1; then
        echo "the fuzz target does not build here (no libFuzzer runtime?): fuzzing skipped"
        exit 0
    fi
    corpus=$(mktemp -d)
    status=0
    build-fuzz/settings/settings_fuzz -max_total_time="${FUZZ_SECONDS:-30}" -print_final_stats=1 \
        "$corpus" >build-fuzz/fuzz.log 2>&1 || status=$?
    rm -rf "$corpus"
    tail -n 20 build-fuzz/fuzz.log
    exit $status
fi

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
