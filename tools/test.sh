#!/usr/bin/env bash
# Sets up what is missing, builds the Windows and the native trees, and runs
# every test: the Wine suite, the native sanitizer suite and the fuzz run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup.sh"

jobs=$(nproc 2>/dev/null || echo 2)
status=0

cmake -S "$top" -B "$top/build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$top/build" -j "$jobs"
(cd "$top/build" && ctest --output-on-failure) || status=1

CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-native" >/dev/null
cmake --build "$top/build-native" -j "$jobs"
(cd "$top/build-native" && ctest --output-on-failure) || status=1

if [ "$status" -ne 0 ]; then
  echo "test.sh: some tests failed" >&2
fi
exit "$status"
