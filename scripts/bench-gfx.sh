#!/usr/bin/env bash
# Drawing benchmark: runs the scene through the graphics layer with the OpenGL driver (layer) and
# with the Direct3D 9 driver (dx9), and straight through OpenGL (bare), each in a real window
# under Wine on a private Xvfb, and prints milliseconds per frame (median), draw calls and
# texture binds per frame, and the ratios to bare. The goal for layer / bare is at most 1.2.
# Not part of the test command.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# A build folder configured before bench/ existed learns about it here.
[ -f "$build/bench/gfxbench.exe" ] || cmake "$build" >/dev/null
cmake --build "$build" --target gfxbench glbare >/dev/null

source "$root/scripts/wine-env.sh"
source "$root/scripts/xvfb.sh"
veltor_wine_prefix
veltor_start_xvfb
cleanup() { wineserver -k 2>/dev/null || true; veltor_stop_xvfb; }
trap cleanup EXIT
wineserver -p 9>&- </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

# Two interleaved runs of each program; the faster run of each counts.
results=$(mktemp)
for round in 1 2; do
  for program in glbare.exe gfxbench.exe "gfxbench.exe dx9"; do
    # shellcheck disable=SC2086  # the program's name and its argument
    timeout 300 wine "$build/bench/"$program </dev/null 2>/dev/null | tr -d '\r' >>"$results"
  done
done
/usr/bin/python3 - "$results" <<'PY'
import re, sys
best = {}
for line in open(sys.argv[1]):
    m = re.match(r'(\w+) n=(\d+) ms=([\d.]+) draws=(\d+) binds=(\d+)', line)
    if not m:
        continue
    program, n, ms, draws, binds = m.group(1), int(m.group(2)), float(m.group(3)), m.group(4), m.group(5)
    if (program, n) not in best or ms < best[(program, n)][0]:
        best[(program, n)] = (ms, draws, binds)
programs = ('bare', 'layer', 'dx9')
sizes = sorted({n for _, n in best})
if not sizes or any((p, n) not in best for p in programs for n in sizes):
    sys.exit('bench-gfx: a program did not report its figures')
print(f"{'N':>6} {'bare ms':>9} {'layer ms':>9} {'ratio':>6} {'dx9 ms':>9} {'ratio':>6}"
      f"  {'draws bare/layer/dx9':>21}  {'binds bare/layer/dx9':>21}")
for n in sizes:
    bare, layer, dx9 = (best[(p, n)] for p in programs)
    print(f"{n:>6} {bare[0]:>9.3f} {layer[0]:>9.3f} {layer[0] / bare[0]:>6.2f} {dx9[0]:>9.3f}"
          f" {dx9[0] / bare[0]:>6.2f}  {'/'.join((bare[1], layer[1], dx9[1])):>21}"
          f"  {'/'.join((bare[2], layer[2], dx9[2])):>21}")
PY
rm -f "$results"
