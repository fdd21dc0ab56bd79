#!/usr/bin/env bash
# The demo end to end: it opens its window, a screenshot shows the checkerboard texture, the shapes
# and the background where they belong, a left drag moves the texture, and Escape ends it with
# status 0. usage: demo_screenshot.sh PATH_TO_loom_demo
set -euo pipefail
source "$(dirname "$0")/../tools/gui.sh"

demo=$1
shot=$(mktemp --suffix=.png)
"$demo" >/dev/null &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -f "$shot"' EXIT

window=$(wait_for_window "loom demo")

expect_pixel() {  # X Y R,G,B WHAT
  local got
  got=$(pixel_of "$shot" "$1" "$2")
  [ "$got" = "$3" ] || { echo "pixel $1,$2 ($4): got $got, expected $3" >&2; exit 1; }
}

# Polls screenshots until the pixel at X Y is R,G,B (the first frames, a drag, the turning line).
pixel_becomes() {
  screenshot "$window" "$shot" && [ "$(pixel_of "$shot" "$1" "$2")" = "$3" ]
}

# The texture spans (40, 60) to (168, 188) in 32-pixel cells, dark where the cell sum is even.
DARK=40,90,160 LIGHT=230,200,60 BACKGROUND=31,31,38
wait_until 10 pixel_becomes 150 170 "$DARK"
expect_pixel 150 140 "$LIGHT" "the light cell above"
expect_pixel 180 170 "$BACKGROUND" "right of the texture"
expect_pixel 600 400 "$BACKGROUND" "background"
expect_pixel 100 380 51,204,102 "the green rectangle"
# Inside the circle, once the turning white line is elsewhere.
wait_until 10 pixel_becomes 448 200 230,76,51

# Drag the texture 100 pixels right: the cells follow.
drag "$window" 150 170 250 170
wait_until 10 pixel_becomes 250 170 "$DARK"
expect_pixel 100 170 "$BACKGROUND" "where the texture's left edge was"

press_key "$window" Escape
status=0
wait "$pid" || status=$?
trap 'rm -f "$shot"' EXIT
[ "$status" -eq 0 ] || { echo "the demo exited with $status" >&2; exit 1; }
echo "demo: window, pixels, drag and quit all as expected"
