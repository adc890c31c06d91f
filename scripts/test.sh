#!/usr/bin/env bash
# Runs every test: installs what is missing, builds, then runs the unit tests (GoogleTest under
# Wine) and the end-to-end tests (the real client under Xvfb against the fake server) with CTest.
# Exits non-zero on any failure. Extra arguments go to ctest (for example -R unit/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}

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

ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
