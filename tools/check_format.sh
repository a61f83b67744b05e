#!/bin/sh
# Fails when a C++ source of the project is not laid out as the root
# .clang-format says; prints what clang-format would change.
# Usage: check_format.sh [source root]      (fix with: clang-format -i FILE...)
set -eu
cd "${1:-$(dirname "$0")/..}"
find . -path './build*' -prune -o -path ./.git -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print |
    sort | xargs clang-format --dry-run --Werror
