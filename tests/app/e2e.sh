#!/usr/bin/env bash
# End-to-end test of the demo program on a virtual X display:
#   1. starts the demo (it must pick its SDL2 backend there) and waits at most 60 s for a
#      window titled "Quorvane VCL + Glimmerix - Demo";
#   2. checks the window's outer size and place: the client area of 831 x 604 in the
#      frame our window system draws for a single border with a caption (3 pixels of
#      fixed frame on every side, a 23-pixel caption): 837 x 633, centred on the
#      1280 x 1024 screen at 221, 195;
#   3. clicks the caption's close button (36 x 23 at the caption's right end, inside the
#      frame: its middle lies 21 pixels left of the window's right edge, 14 below its top);
#   4. expects the demo to exit with code 0 within 5 s.
#
#   e2e.sh path/to/demo
# Exits 77 (skipped) when xvfb-run or xdotool is missing (tests/app/xvfb-lib.sh).
set -uo pipefail

name=e2e
source "$(dirname "$0")/xvfb-lib.sh"

readonly title="Quorvane VCL + Glimmerix - Demo"
readonly want_width=837 want_height=633 want_x=221 want_y=195

start_program
find_window "$title"
echo "e2e: found window $window titled '$title'"

# Let the first paint and placement settle before measuring.
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "e2e: window at $X,$Y, $WIDTH x $HEIGHT"
if [[ "$WIDTH" != "$want_width" || "$HEIGHT" != "$want_height" ]]; then
  fail "window is $WIDTH x $HEIGHT, expected $want_width x $want_height (client 831 x 604 plus frame 3 and caption 23)"
fi
if [[ "$X" != "$want_x" || "$Y" != "$want_y" ]]; then
  fail "window is at $X,$Y, expected $want_x,$want_y (centred on the 1280 x 1024 screen)"
fi

close_x=$((X + WIDTH - 21))
close_y=$((Y + 14))
echo "e2e: clicking the close button at $close_x,$close_y"
xdotool mousemove "$close_x" "$close_y"
sleep 0.2
xdotool click 1

for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  fail "the demo was still running 5 s after its close button was clicked"
fi
wait "$pid"
code=$?
[[ $code -eq 0 ]] || fail "the demo exited with code $code, expected 0"
echo "e2e: the demo closed through its close button and exited with code 0"
