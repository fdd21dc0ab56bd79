# Sourced by the scripts: start_xvfb runs a private X server and exports DISPLAY; stop_xvfb ends it.
# The server picks a free display number itself (-displayfd), so parallel runs never collide.

start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r -t 30 number <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
  export SDL_VIDEODRIVER=x11
  # zenity and GTK stay quiet without a session bus or accessibility bridge
  export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  return 0
}
