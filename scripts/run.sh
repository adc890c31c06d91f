#!/usr/bin/env bash
# Runs the client: installs what is missing, builds, generates the sample data into run/ and
# starts the fake game server with its sample world on the loopback address (port 4080, where
# the sample settings point the client; account "tester", password "secret") and the client
# there under Wine. With DISPLAY set it opens on that display and runs until you close it;
# otherwise, inside a private Xvfb, the login window is filled in and the avatar played for you, a
# screenshot of the world goes to run/screen.png after a few seconds, and the client is then
# closed. The server's transcript of both sides' messages is run/server.jsonl.
set -euo pipefail
source "$(dirname "$0")/report-failure.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
run_dir=$root/run
export PYTHONPATH=$root/tools

# Fresh sample data on every run; the settings the client saved last time are kept.
settings=$run_dir/data/Veltor.config
if [ -f "$settings" ]; then mv "$settings" "$settings.kept"; fi
/usr/bin/python3 "$root/tools/datagen/generate.py" "$run_dir"
if [ -f "$settings.kept" ]; then mv "$settings.kept" "$settings"; fi
source "$root/scripts/wine-env.sh"
veltor_wine_prefix

/usr/bin/python3 -m fakeserver --world --port 4080 --transcript "$run_dir/server.jsonl" \
  > "$run_dir/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  if grep -q '^port' "$run_dir/server.log"; then break; fi
  if ! kill -0 "$server" 2>/dev/null; then
    echo "run: the fake server did not start:" >&2
    cat "$run_dir/server.log" >&2
    exit 1
  fi
  sleep 0.1
done

if [ -n "${DISPLAY:-}" ]; then
  cd "$run_dir"
  wine "$build/Veltor.exe"
  exit
fi
# The sample settings for this run, logged in through the login window as a player would with
# the sample account; the player's own settings come back after.
if [ -f "$settings" ]; then mv "$settings" "$settings.kept"; fi
/usr/bin/python3 -c 'import sys; from datagen import config
config.write_sample(sys.argv[1])' "$run_dir/data"
status=0
VELTOR_EXE=$build/Veltor.exe VELTOR_WINPROBE=$build/tools/winprobe/winprobe.exe \
  /usr/bin/python3 -m harness.headless "$run_dir" 5 --play tester secret "$run_dir/server.jsonl" \
  || status=$?
rm -f "$settings"
if [ -f "$settings.kept" ]; then mv "$settings.kept" "$settings"; fi
exit "$status"
