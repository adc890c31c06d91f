#!/usr/bin/env bash
# Configures and builds the client, its tests and tools into BUILD_DIR (default build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" >/dev/null
fi
cmake --build "$build" -- -j"$(nproc)" | grep -vE '^\[[0-9]+/[0-9]+\] (Building|Linking)' || true
cmake --build "$build" >/dev/null   # fails loudly when the build above did not finish
