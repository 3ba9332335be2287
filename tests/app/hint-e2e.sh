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

start_program
find_client "Hint probe"
# The control lies at (20, 20) - (140, 60) of the client area.

xdotool mousemove $((client_x + 200)) $((client_y + 150))
sleep 0.2
xdotool mousemove $((client_x + 70)) $((client_y + 40))
wait_for "^hint shown: Probe hint$"
echo "hint-e2e: the hint showed over the control"
xdotool mousemove $((client_x + 200)) $((client_y + 150))
wait_for "^hint hidden$"
echo "hint-e2e: the hint went when the mouse left"

kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
