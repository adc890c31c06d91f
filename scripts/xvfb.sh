# Sourced: starts a private Xvfb and exports DISPLAY; veltor_stop_xvfb ends it.
veltor_start_xvfb() {
  local fifo
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  VELTOR_XVFB_PID=$!
  if ! read -r display <"$fifo"; then
    rm -f "$fifo"
    echo "xvfb: Xvfb did not start" >&2
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$display"
}
veltor_stop_xvfb() { [ -n "${VELTOR_XVFB_PID:-}" ] && kill "$VELTOR_XVFB_PID" 2>/dev/null; true; }
