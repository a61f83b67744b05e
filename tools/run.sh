#!/bin/sh
# Builds Vantrel and starts it.
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_TESTS=OFF -DVANTREL_WX=ON -DVANTREL_SANITIZE=OFF >/dev/null
cmake --build build --target vantrel -j"$(nproc)"
exec build/app/vantrel
