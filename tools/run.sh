#!/bin/sh
# Builds Vantrel and starts it.
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh build
# The run preset: build/ as tools/test.sh leaves it, the tests left out.
cmake --preset run >/dev/null
cmake --build build --target vantrel -j"$(nproc)"
exec build/app/vantrel
