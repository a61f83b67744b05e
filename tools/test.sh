#!/bin/sh
# Builds Vantrel with its tests and runs them all, the end-to-end tests
# under Xvfb included. With --fuzz: a short fuzzing run (see below). With --sanitize: the logic's tests (no wx window)
# under AddressSanitizer and UndefinedBehaviorSanitizer, in build-sanitize/.
# With --thread-safety: the libraries without wx built by clang, where a
# broken lock rule is an error, in build-thread-safety/. With --tsan: the
# port's pseudo-terminal tests and the window's tests over a pseudo-terminal
# under ThreadSanitizer, in build-tsan/.
# VANTREL_WERROR=ON in the environment makes every warning an error.
# Each build folder is a configure preset of CMakePresets.json (dev, asan,
# thread-safety, tsan, fuzz).
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh build test
werror=-DVANTREL_WERROR=${VANTREL_WERROR:-OFF}
launcher=""
command -v ccache >/dev/null 2>&1 && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache

# --thread-safety: every library that knows no window system, compiled by
# clang with -Wthread-safety (see threads/mutex.h); a violation fails.
if [ "${1:-}" = "--thread-safety" ]; then
    dir=build-thread-safety
    cmake --preset thread-safety "$werror" $launcher >/dev/null
    exec cmake --build "$dir" -j"$(nproc)" --target vantrel_app vantrel_linux vantrel_ui_headless
fi

# --tsan: the tests where a port's I/O thread, the window and the posting
# threads meet, under ThreadSanitizer; any report fails.
if [ "${1:-}" = "--tsan" ]; then
    dir=build-tsan
    cmake --preset tsan "$werror" $launcher >/dev/null
    cmake --build "$dir" -j"$(nproc)" --target linux_serial_tests app_tests
    export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
    "$dir/linux/linux_serial_tests" --gtest_brief=1
    exec "$dir/app/app_tests" --gtest_brief=1 --gtest_filter='PtyWindowTest.*:BridgeWindowTest.*'
fi

# --fuzz: a short libFuzzer run of the settings reader and of the pane's page
# preparation, where clang is present.
if [ "${1:-}" = "--fuzz" ]; then
    if ! command -v clang++ >/dev/null 2>&1; then
        echo "clang++ not found: fuzzing skipped"
        exit 0
    fi
    cmake --preset fuzz >/dev/null
    if ! cmake --build build-fuzz --target settings_fuzz light_page_fuzz -j"$(nproc)" >build-fuzz/build.log 2>&1; then
        echo "the fuzz targets do not build here (no libFuzzer runtime?): fuzzing skipped"
        exit 0
    fi
    status=0
    for target in settings/settings_fuzz ui/light_page_fuzz; do
        corpus=$(mktemp -d)
        "build-fuzz/$target" -max_total_time="${FUZZ_SECONDS:-30}" -print_final_stats=1 \
            "$corpus" >build-fuzz/fuzz.log 2>&1 || status=$?
        rm -rf "$corpus"
        tail -n 20 build-fuzz/fuzz.log
        [ $status -eq 0 ] || exit $status
    done
    exit 0
fi

if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    cmake --preset asan "$werror" >/dev/null
else
    dir=build
    cmake --preset dev "$werror" >/dev/null
fi
cmake --build "$dir" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
