#!/usr/bin/env bash
# End-to-end test of hints on a virtual X display: starts the hint probe, rests the mouse
# on its control and expects the control's hint to show, then moves the mouse away and
# expects it to go.
#
#   hint-e2e.sh path/to/hint-probe
# Exits 77 (skipped) when xvfb-run or xdotool is missing.
set -uo pipefail

name=hint-e2e
source "$(dirname "$0")/xvfb-lib.sh"

# Waits up to 10 s for a line of the probe's output.
wait_for() {
  for _ in $(seq 1 100); do
    grep -qx "$1" "$log" && return 0
    kill -0 "$pid" 2>/dev/null || fail "the probe ended before printing '$1'"
    sleep 0.1
  done
  fail "no '$1' within 10 s"
}

log=$(mktemp)
trap 'rm -f "$log"' EXIT
start_program "$log"
find_window "Hint probe"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$window")"
# The client area starts inside the 3-pixel frame and the 23-pixel caption; the control
# lies at (20, 20) - (140, 60) of it.
client_x=$((X + 3))
client_y=$((Y + 3 + 23))

xdotool mousemove $((client_x + 200)) $((client_y + 150))
sleep 0.2
xdotool mousemove $((client_x + 70)) $((client_y + 40))
wait_for "hint shown: Probe hint"
echo "hint-e2e: the hint showed over the control"
xdotool mousemove $((client_x + 200)) $((client_y + 150))
wait_for "hint hidden"
echo "hint-e2e: the hint went when the mouse left"

kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
