#!/usr/bin/env bash
# Takes docs/search-window.png: Quarnel from a finished build on a virtual display with a window
# manager, logged on to the demo database, the search window opened with Ctrl+F and a Japanese
# query typed, its first hit shown in the main window. Usage: scripts/screenshot-search.sh
# [BUILD_DIR] (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(cd "${1:-build}" && pwd)"
display=:97
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
pids+=($!)
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
export DISPLAY="$display"
openbox &
pids+=($!)
sleep 1
(cd "$build" && exec ./quarnel) &
pids+=($!)

xdotool search --sync --onlyvisible --name '^Quarnel$' >/dev/null
sleep 2
xdotool type --delay 20 demo
xdotool key Tab Tab
xdotool type --delay 20 "sqlite:demo.db"
xdotool key Return
sleep 2
main=$(xdotool search --onlyvisible --name '^Quarnel$' | tail -1)
xdotool windowmove "$main" 40 60
sleep 0.5
xdotool windowactivate --sync "$main"
xdotool key ctrl+f
xdotool search --sync --onlyvisible --name '^Quarnel\(Search\)$' >/dev/null
search=$(xdotool search --onlyvisible --name '^Quarnel\(Search\)$' | tail -1)
xdotool windowmove "$search" 560 300
sleep 0.5
xdotool windowactivate --sync "$search"
xdotool type --delay 80 "${QUERY:-顧客 番号}"
sleep 1
xdotool key Down Down Return
sleep 2
xdotool windowactivate --sync "$search"
sleep 1
import -window root -crop 1200x760+20+20 -strip docs/search-window.png
echo "wrote docs/search-window.png"
