#!/usr/bin/env bash
# Runs the fuzz harness longer than the test command does, with a random seed (or FUZZ_SEED):
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# (default 60 seconds, every target), four targets at a time, in the build with
# undefined-behaviour traps (BUILD_DIR-ubsan). Prints each target's summary line; a failure's
# input is saved in BUILD_DIR-ubsan/fuzz-failures/ under a name telling the target and the seed:
# once the fault is mended, copy it into tests/fuzz/corpus/TARGET/ so that every test run replays
# it. Exits non-zero when any target failed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --ubsan || { echo "fuzz: the build failed" >&2; exit 1; }
source "$root/scripts/wine-env.sh"
source "$root/scripts/xvfb.sh"
veltor_wine_prefix
# The targets start Cores, whose windows need a screen: a private one, as for the tests.
veltor_start_xvfb
trap veltor_stop_xvfb EXIT
build=${BUILD_DIR:-$root/build}-ubsan
harness=$build/tests/fuzz/veltor_fuzz.exe
seed=${FUZZ_SEED:-$RANDOM$RANDOM}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  # The harness names its targets when asked for one it does not have.
  read -r -a targets < <(wine "$harness" "?" 2>&1 | sed -n 's/.*the targets are: *//p' | tr -d '\r')
fi
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: the harness named no targets" >&2; exit 1; }

echo "fuzz: ${#targets[@]} targets, $seconds s each, seed $seed"
log=$(mktemp -d)
run_target() {
  wine "$harness" "$1" --replay "Z:$build/fuzzseeds/$1" --replay "Z:$root/tests/fuzz/corpus/$1" \
    --seconds "$seconds" --seed "$seed" --failures "Z:$build/fuzz-failures" >"$log/$1" 2>&1
}
export -f run_target
export harness build root seconds seed log
status=0
printf '%s\n' "${targets[@]}" | xargs -P 4 -I{} bash -c 'run_target {}' || status=$?
for target in "${targets[@]}"; do
  grep -a '^fuzz ' "$log/$target" | tr -d '\r' || echo "fuzz $target: the harness ended without a summary (see $log/$target)"
done
if [ $status -ne 0 ]; then
  echo "fuzz: FAILED (inputs saved in $build/fuzz-failures)" >&2
  exit 1
fi
rm -rf "$log"
