#!/usr/bin/env bash
# Configures and builds the client, its tests and tools into BUILD_DIR (default build/), for the
# architecture the tests run on here (scripts/wine-env.sh). When that is not the client's own
# 32-bit target, the 32-bit client is built as well, into BUILD_DIR-i686. With --ubsan, the unit
# tests are also built with undefined-behaviour traps, into BUILD_DIR-ubsan.
set -euo pipefail
source "$(dirname "$0")/report-failure.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
build=${BUILD_DIR:-$root/build}
# Paths relative to the checkout, so that several work trees share ccache's objects.
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1

# build_tree DIR ARCH [TARGET [OPTION...]]: configures DIR once for ARCH with the CMake OPTIONs
# and builds TARGET (default all).
build_tree() {
  local dir=$1 arch=$2 toolchain=$root/cmake/toolchain-mingw32.cmake options=("${@:4}")
  [ "$arch" = x86_64 ] && toolchain=$root/cmake/toolchain-mingw64.cmake
  if [ -f "$dir/CMakeCache.txt" ] && ! grep -q "CMAKE_TOOLCHAIN_FILE:.*=$toolchain\$" "$dir/CMakeCache.txt"; then
    echo "build: $dir was configured for another architecture; configuring it anew"
    rm -rf "$dir"
  fi
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    # ccache, where installed, lets several work trees share their compiled objects.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" \
      "${options[@]}" >/dev/null
  fi
  local target=()
  [ -n "${3:-}" ] && target=(--target "$3")
  cmake --build "$dir" "${target[@]}" -- -j"$(nproc)" | grep -vE '^\[[0-9]+/[0-9]+\] (Building|Linking)' || true
  # Fails loudly when the build above did not finish.
  cmake --build "$dir" "${target[@]}" >/dev/null || { echo "build: $dir ($arch) failed" >&2; exit 1; }
}

build_tree "$build" "$VELTOR_ARCH"
if [ "$VELTOR_ARCH" != i686 ]; then
  build_tree "$build-i686" i686 Veltor
fi
if [ "${1:-}" = --ubsan ]; then
  build_tree "$build-ubsan" "$VELTOR_ARCH" unit_tests -DVELTOR_UBSAN=ON
fi
