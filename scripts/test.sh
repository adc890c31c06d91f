#!/usr/bin/env bash
# Runs every check and test: installs what is missing; checks the layout (scripts/check-format.sh)
# and the layers' includes (scripts/check-includes.sh); builds, also the unit tests with
# undefined-behaviour traps; then runs those unit tests, and all tests of the normal build (unit
# tests in GoogleTest under Wine, end-to-end tests of the real client under Xvfb against the fake
# server) with CTest. Every step runs even when an earlier one failed, except what needs a build
# that failed; the run ends by naming the failed steps, and exits non-zero if any failed. Extra
# arguments go to both ctest runs (for example -R unit/).
set -euo pipefail
source "$(dirname "$0")/report-failure.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${BUILD_DIR:-$root/build}

failed=()
# step NAME COMMAND...: runs COMMAND and notes NAME when it fails.
step() {
  local name=$1
  shift
  "$@" || { echo "test: $name failed" >&2; failed+=("$name"); }
}
step "format check" "$root/scripts/check-format.sh"
step "include check" "$root/scripts/check-includes.sh"
"$root/scripts/build.sh" --ubsan || { echo "test: the build failed" >&2; exit 1; }

source "$root/scripts/wine-env.sh"
source "$root/scripts/xvfb.sh"
veltor_wine_prefix
# Tests always get their own screen, so nothing appears on the user's display.
veltor_start_xvfb
cleanup() { wineserver -k 2>/dev/null || true; veltor_stop_xvfb; }
trap cleanup EXIT
# One warm wineserver for the whole run: its helper processes must not hold CTest's pipes.
wineserver -p 9>&- </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

# A failed check stops the program with an illegal instruction; addr2line names its source line:
# $VELTOR_ARCH-w64-mingw32-addr2line -f -C -i -e BUILD_DIR-ubsan/tests/PROGRAM.exe ADDRESS
# The same build runs the fuzz harness: each target replays its seeds and saved inputs, then a
# fixed number of mutated inputs from a fixed seed (scripts/fuzz.sh runs them longer).
step "unit tests and fuzz targets with undefined-behaviour traps ($build-ubsan)" \
  ctest --test-dir "$build-ubsan" -L 'unit|fuzz' --output-on-failure -j"$(nproc)" "$@"
# The fuzz targets' summary lines: inputs run and failures per target.
grep -ah '^fuzz .* failures' "$build-ubsan/Testing/Temporary/LastTest.log" 2>/dev/null | tr -d '\r' |
  sort | awk '{ print; failures += $(NF - 1) } / inputs run /{ n++; runs += $7 }
    END { if (n) printf "fuzz: %d targets, %d mutated inputs run, %d failures\n", n, runs, failures }' || true
step "tests ($build)" ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"

if [ ${#failed[@]} -gt 0 ]; then
  printf 'test: FAILED: %s\n' "${failed[@]}" >&2
  exit 1
fi
