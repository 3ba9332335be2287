#!/usr/bin/env bash
# End-to-end test of hints on a virtual X display: starts the hint probe, rests the mouse
# on its control and expects the control's hint to show, then moves the mouse away and
# expects it to go.
#
#   hint-e2e.sh path/to/hint-probe
# Exits 77 (skipped) when xvfb-run or xdotool is missing.
set -uo pipefail

probe=${1:-}
if [[ -z "$probe" || ! -x "$probe" ]]; then
  echo "hint-e2e: usage: hint-e2e.sh path/to/hint-probe" >&2
  exit 2
fi
for tool in xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "hint-e2e: $tool is missing; skipped" >&2
    exit 77
  fi
done
if [[ -z "${QV_E2E_DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env QV_E2E_DISPLAY=1 bash "$0" "$@"
fi
unset QV_SCALE

log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$probe" >"$log" 2>&1 &
pid=$!

fail() {
  echo "hint-e2e: FAILED: $*" >&2
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  echo "---- probe output ----" >&2
  cat "$log" >&2
  exit 1
}

# Waits up to 10 s for a line of the probe's output.
wait_for() {
  for _ in $(seq 1 100); do
    grep -qx "$1" "$log" && return 0
    kill -0 "$pid" 2>/dev/null || fail "the probe ended before printing '$1'"
    sleep 0.1
  done
  fail "no '$1' within 10 s"
}

window=""
for _ in $(seq 1 150); do
  kill -0 "$pid" 2>/dev/null || fail "the probe ended before its window appeared"
  window=$(xdotool search --name "^Hint probe\$" 2>/dev/null | head -n 1)
  [[ -n "$window" ]] && break
  sleep 0.1
done
[[ -n "$window" ]] || fail "no window titled 'Hint probe' within 15 s"
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
