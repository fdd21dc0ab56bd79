# Sourced by GUI test scripts: bounded waits for windows and conditions, input and screenshots on
# the X display in DISPLAY. Every function returns non-zero (and says why on stderr) on failure.

TOOLS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# wait_for_window TITLE [SECONDS]: prints the id of the visible window titled exactly TITLE.
# Retries each search: xdotool fails when a window vanishes while it walks the tree.
wait_for_window() {
  local id deadline=$((SECONDS + ${2:-10}))
  while :; do
    id=$(timeout 5 xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    [ "$SECONDS" -lt "$deadline" ] || { echo "no window titled '$1'" >&2; return 1; }
    sleep 0.05
  done
}

# wait_until SECONDS COMMAND...: polls COMMAND every 50 ms until it succeeds.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || { echo "timed out waiting for: $*" >&2; return 1; }
    sleep 0.05
  done
}

# focus_window ID: keyboard focus to the window, without needing a window manager.
focus_window() { timeout 10 xdotool windowfocus --sync "$1"; }

# click_at ID X Y [BUTTON]: moves to (X, Y) in the window and clicks (button 1 by default).
click_at() {
  timeout 10 xdotool mousemove --sync --window "$1" "$2" "$3" click "${4:-1}"
}

# drag ID X1 Y1 X2 Y2: left-button drag between two points of the window.
drag() {
  timeout 10 xdotool mousemove --sync --window "$1" "$2" "$3" mousedown 1 \
    mousemove --sync --window "$1" "$4" "$5" mouseup 1
}

# press_key ID KEY...: focuses the window and types the keys (xdotool key names, e.g. s, space).
# Real (XTEST) key events go to the focused window; sending them to the window by id would fail
# on the key release when the key closes the window.
press_key() {
  local id=$1
  shift
  focus_window "$id" && timeout 10 xdotool key "$@"
}

# drop_files ID X Y FILE...: drags the files onto (X, Y) of the window by XDND.
drop_files() { /usr/bin/python3 "$TOOLS_DIR/xdnd_drop.py" "$@"; }

# close_window ID: asks the window to close, as a window manager's close button does.
close_window() { /usr/bin/python3 "$TOOLS_DIR/close_window.py" "$1"; }

# screenshot ID PATH: the window's pixels as a PNG.
screenshot() { timeout 10 import -window "$1" "$2"; }

# pixel_of PATH X Y: prints the pixel as "R,G,B" (0 to 255).
pixel_of() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]\n" \
    info:
}
