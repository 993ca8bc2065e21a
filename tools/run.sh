#!/usr/bin/env bash
# Sets up what is missing and builds the saver; it says what it built.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$top/build" -j "$(nproc 2>/dev/null || echo 2)"
echo "run.sh: built the core library and its tests in $top/build"
