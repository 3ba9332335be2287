#!/usr/bin/env bash
# End-to-end test of popup menus on a virtual X display: starts the menu probe, opens its
# control's popup menu with a right click, chooses the second item with a click and
# expects exactly one click of that item (the right click's release chooses nothing).
#
#   menu-e2e.sh path/to/menu-probe
# Exits 77 (skipped) when xvfb-run or xdotool is missing.
set -uo pipefail

name=menu-e2e
source "$(dirname "$0")/xvfb-lib.sh"

start_program
find_client "Menu probe"
# The control lies at (20, 20) - (220, 140) of the client area.
menu_x=$((client_x + 60))
menu_y=$((client_y + 50))

xdotool mousemove "$menu_x" "$menu_y"
sleep 0.2
xdotool click 3
wait_for "^menu opened at $menu_x,$menu_y\$"
wait_for "^menu shown\$"
echo "menu-e2e: the right click opened the menu at the pointer"
sleep 0.3
grep -q "^clicked:" "$log" && fail "the right click's release chose an item"
# Items are 22 pixels high inside a 3-pixel frame: the second item's middle.
xdotool mousemove $((menu_x + 40)) $((menu_y + 3 + 22 + 11))
sleep 0.2
xdotool click 1
wait_for "^clicked: Second\$"
wait_for "^menu closed\$"
sleep 0.5
clicks=$(grep -c "^clicked:" "$log")
[[ "$clicks" == 1 ]] || fail "expected one click, the probe reported $clicks"
echo "menu-e2e: the second item was clicked once"

kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
