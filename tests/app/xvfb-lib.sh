# Shared steps of the end-to-end scripts that drive a program of ours on a virtual X
# display. A script sets `name` (how it reports) and sources this file with its own
# arguments; `program` is then the program to run.
#   start_program       runs it in the background (pid in `pid`), its output to the
#                       file `log`, removed on exit
#   wait_for PATTERN    waits at most 30 s for a line of its output matching PATTERN
#   fail MESSAGE        stops it, prints its output and exits 1
#   find_window TITLE   waits at most 60 s for a window of that exact title (`window`)
#   find_client TITLE   the same, then `client_x`/`client_y`: the screen corner of its client
#                       area, inside the 3-pixel frame and the 23-pixel caption
# The script runs again inside a 1280 x 1024 virtual display at 96 pixels per inch; it
# exits 77 (skipped) when xvfb-run or xdotool is missing.

program=${1:-}
if [[ -z "$program" || ! -x "$program" ]]; then
  echo "$name: usage: $(basename "$0") path/to/program (got '${program}', which is not an executable)" >&2
  exit 2
fi
for tool in xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "$name: $tool is missing; skipped" >&2
    exit 77
  fi
done
if [[ -z "${QV_E2E_DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env QV_E2E_DISPLAY=1 bash "$0" "$@"
fi
unset QV_SCALE

start_program() {
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  "$program" >"$log" 2>&1 &
  pid=$!
}

wait_for() {
  for _ in $(seq 1 300); do
    grep -q "$1" "$log" && return 0
    kill -0 "$pid" 2>/dev/null || fail "the program ended before printing '$1'"
    sleep 0.1
  done
  fail "no '$1' within 30 s"
}

fail() {
  echo "$name: FAILED: $*" >&2
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  echo "---- program output ----" >&2
  cat "$log" >&2
  exit 1
}

# xdotool takes the name as a regular expression: "+" is escaped.
find_window() {
  window=""
  for _ in $(seq 1 600); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      fail "the program ended (exit code $?) before its window appeared"
    fi
    window=$(xdotool search --name "^${1//+/\\+}\$" 2>/dev/null | head -n 1)
    [[ -n "$window" ]] && return 0
    sleep 0.1
  done
  fail "no window titled '$1' within 60 s"
}

find_client() {
  find_window "$1"
  # Let the first paint and placement settle.
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$window")"
  client_x=$((X + 3))
  client_y=$((Y + 3 + 23))
}
