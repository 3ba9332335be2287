#!/usr/bin/env bash
# Runs the demo (build/release/demo) on the display. Without a display it runs it on a
# virtual one for a few seconds, takes a screenshot of that display (out/demo.png) and
# closes it through its close button. Either way it writes the demo window as painted
# off-screen (out/<style>.png), the drawing sheet (out/gdi-sheet.png) and the sheets of
# the style elements, the drawing toolkit, the controls and the transition effects
# (out/styles/, out/elements/, out/controls/, out/effects/).
set -euo pipefail
cd "$(dirname "$0")/.."
readonly bin=build/release

# The middle of the close button, from the window's top-left corner: the caption's right
# end inside the frame (frame 3, caption 23, button 36 wide at 96 pixels per inch).
close_button_offset() {
  local width=$1 percent=${QV_SCALE:-100} ppi=96
  if ((percent > 100 && percent <= 500)); then ppi=$((96 * percent / 100)); fi
  local frame=$((3 * ppi / 96)) caption=$((23 * ppi / 96)) button=$((36 * ppi / 96))
  echo "$((width - frame - button / 2)) $((frame + caption / 2))"
}

shot_virtual_display() {
  local title="Quorvane VCL + Glimmerix - Demo" window="" pid dx dy
  "$bin/demo" &
  pid=$!
  for _ in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || break
    window=$(xdotool search --name "^${title//+/\\+}\$" 2>/dev/null | head -n 1) || true
    [[ -n "$window" ]] && break
    sleep 0.1
  done
  if [[ -z "$window" ]]; then
    echo "demo: its window did not appear on the virtual display" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  sleep 2
  import -window root out/demo.png
  echo "demo: wrote out/demo.png (the virtual display with the demo on it)"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  read -r dx dy <<<"$(close_button_offset "$WIDTH")"
  xdotool mousemove $((X + dx)) $((Y + dy)) click 1
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "demo: did not close through its close button; stopping it" >&2
    kill "$pid"
  fi
  wait "$pid"
}

if [[ "${1:-}" == "--virtual" ]]; then
  shot_virtual_display
  exit
fi

mkdir -p out
"$bin/gdi-sheet" --out out/gdi-sheet.png
echo "demo: wrote out/gdi-sheet.png"
"$bin/style-gallery" --out out/styles > /dev/null
echo "demo: wrote out/styles/ (every style element in every state, one sheet per style)"
"$bin/element-sheet" --out out/elements > /dev/null
echo "demo: wrote out/elements/ (the drawing toolkit's routines in every state, one sheet per style)"
"$bin/control-sheet" --out out/controls > /dev/null
echo "demo: wrote out/controls/ (panels and labels in every style)"
"$bin/effect-gallery" --out out/effects > /dev/null
echo "demo: wrote out/effects/ (every transition effect at 10 to 90 %, straight and turned)"
# The window in every style and in classic mode.
"$bin/demo-shots" --out out --style "Windows" --style "Amethyst Kamri" --style "Aqua Light Slate" \
  --style "Glossy" --style "Glow" --style "Onyx Blue" --style "Sky" --style "TabletDark" \
  --style "Windows10" --style "Windows10 Dark" --classic
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$bin/demo"
fi
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/run-demo.sh --virtual
