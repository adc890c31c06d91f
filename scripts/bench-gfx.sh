#!/usr/bin/env bash
# Drawing benchmark: runs two scenes through the graphics layer with the OpenGL driver (layer)
# and with the Direct3D 9 driver (dx9), and straight through OpenGL (bare), each in a real window
# under Wine on a private Xvfb: a synthetic scene of sprites, fills and glyphs in three sizes, and
# the world scene, the client's game screen over the generated sample data (3 floors, 20 walking
# persons with names and bars, texts, night and lights), whose bare run replays one recorded
# frame of the layer's driver calls. It prints milliseconds per frame (median), draw calls,
# texture binds and texture runs (changes of texture between consecutive quads, the fewest binds
# a frame can do) per frame, and the ratios. The goals: layer / bare at most 1.2 and the world
# within 16 ms, dx9 / layer at most 2, texture binds at most the texture runs. Not part of the
# test command.
set -euo pipefail
source "$(dirname "$0")/report-failure.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
# A build folder configured before bench/ existed learns about it here.
if [ ! -f "$build/bench/gfxbench.exe" ] && ! cmake "$build" >"$logs/configure.log" 2>&1; then
  echo "bench-gfx: configuring $build failed:" >&2
  tail -n 30 "$logs/configure.log" >&2
  exit 1
fi
if ! cmake --build "$build" --target gfxbench glbare worldbench >"$logs/build.log" 2>&1; then
  echo "bench-gfx: building the benchmark programs failed:" >&2
  tail -n 30 "$logs/build.log" >&2
  exit 1
fi

source "$root/scripts/wine-env.sh"
source "$root/scripts/xvfb.sh"
veltor_wine_prefix
veltor_start_xvfb
cleanup() { wineserver -k 2>/dev/null || true; veltor_stop_xvfb; rm -rf "$logs"; }
trap cleanup EXIT
wineserver -p 9>&- </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

results=$logs/results
# run PROGRAM [ARGUMENT...]: runs a benchmark program of bench/ under Wine and adds its figures
# to the results. A program that fails ends the run, naming it, how it ended and the last lines
# of its output.
run() {
  local log=$logs/run.log status=0
  timeout 600 wine "$build/bench/$1" "${@:2}" </dev/null >"$log" 2>&1 || status=$?
  tr -d '\r' <"$log" | grep -E '^[a-z0-9]+ ' >>"$results" || true
  if [ "$status" -ne 0 ]; then
    local how="ended with exit code $status"
    [ "$status" -eq 124 ] && how="did not end within 600 seconds"
    echo "bench-gfx: $* $how; the last lines of its output:" >&2
    tail -n 20 "$log" | tr -d '\r' | sed 's/^/  /' >&2
    exit 1
  fi
}

export PYTHONPATH=$root/tools
world=$logs/world
/usr/bin/python3 "$root/tools/datagen/generate.py" "$world" >/dev/null
# Two interleaved runs of each program; the faster run of each counts.
for round in 1 2; do
  run glbare.exe
  run gfxbench.exe
  run gfxbench.exe dx9
  run worldbench.exe "Z:$world" gl "Z:$logs/world.rec"
  run worldbench.exe "Z:$world" dx9
  run glbare.exe "Z:$logs/world.rec"
done
/usr/bin/python3 - "$results" <<'PY'
import re, sys
best = {}
for line in open(sys.argv[1]):
    m = re.match(r'(\w+) n=(\d+) ms=([\d.]+) draws=(\d+) binds=(\d+) runs=(\d+)', line)
    if not m:
        continue
    program, n, ms = m.group(1), int(m.group(2)), float(m.group(3))
    draws, binds, runs = (int(m.group(i)) for i in (4, 5, 6))
    if (program, n) not in best or ms < best[(program, n)][0]:
        best[(program, n)] = (ms, draws, binds, runs)
programs = ('bare', 'layer', 'dx9')
sizes = sorted({n for p, n in best if p in programs})
world = {p: f for (p, n), f in best.items() if p.startswith('world')}
if not sizes or any((p, n) not in best for p in programs for n in sizes) or len(world) != 3:
    sys.exit('bench-gfx: a program did not report its figures')
print(f"{'N':>6} {'bare ms':>9} {'layer ms':>9} {'ratio':>6} {'dx9 ms':>9} {'ratio':>6}"
      f"  {'draws bare/layer/dx9':>21}  {'binds bare/layer/dx9':>21} {'runs':>6}")
over = []
for n in sizes:
    bare, layer, dx9 = (best[(p, n)] for p in programs)
    print(f"{n:>6} {bare[0]:>9.3f} {layer[0]:>9.3f} {layer[0] / bare[0]:>6.2f} {dx9[0]:>9.3f}"
          f" {dx9[0] / bare[0]:>6.2f}  {'/'.join(str(f[1]) for f in (bare, layer, dx9)):>21}"
          f"  {'/'.join(str(f[2]) for f in (bare, layer, dx9)):>21} {layer[3]:>6}")
    over += [f'{p} binds {f[2]} textures a frame at n={n}, in {f[3]} runs'
             for p, f in (('layer', layer), ('dx9', dx9)) if f[2] > f[3]]
bare, layer, dx9 = world['worldbare'], world['worldlayer'], world['worlddx9']
print(f"\nworld scene: bare {bare[0]:.3f} ms, layer {layer[0]:.3f} ms (ratio {layer[0] / bare[0]:.2f}),"
      f" dx9 {dx9[0]:.3f} ms (dx9 / layer {dx9[0] / layer[0]:.2f});"
      f" draws {bare[1]}/{layer[1]}/{dx9[1]}, binds {bare[2]}/{layer[2]}/{dx9[2]},"
      f" texture runs {layer[3]}")
over += [f'{p} binds {f[2]} textures a frame in the world scene, in {f[3]} runs'
         for p, f in (('layer', layer), ('dx9', dx9)) if f[2] > f[3]]
for text in over:
    print(f'bench-gfx: {text}')
PY
