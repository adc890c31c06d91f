#!/usr/bin/env bash
# Runs the client: installs what is missing, builds, generates the sample data into run/ and
# starts the client there under Wine. With DISPLAY set it opens on that display and runs until
# you close it; otherwise it runs inside a private Xvfb, a screenshot of that screen goes to
# run/screen.png after a few seconds, and the client is then closed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
run_dir=$root/run

# Fresh sample data on every run; the settings the client saved last time are kept.
settings=$run_dir/data/Veltor.config
if [ -f "$settings" ]; then mv "$settings" "$settings.kept"; fi
/usr/bin/python3 "$root/tools/datagen/generate.py" "$run_dir"
if [ -f "$settings.kept" ]; then mv "$settings.kept" "$settings"; fi
source "$root/scripts/wine-env.sh"
veltor_wine_prefix
if [ -n "${DISPLAY:-}" ]; then
  cd "$run_dir"
  exec wine "$build/Veltor.exe"
fi
VELTOR_EXE=$build/Veltor.exe VELTOR_WINPROBE=$build/tools/winprobe/winprobe.exe \
  PYTHONPATH="$root/tools" exec /usr/bin/python3 -m harness.headless "$run_dir"
